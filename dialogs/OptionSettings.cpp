#include "dialogs/OptionSettings.h"

#include "process/Application.h"

void LoadOptionValues(Application& application, OptionValues* values)
{
    values->menuCount = application.MenuCount();
    values->fontSize = application.FontSize();
    values->turnOn = application.TurnOn();
    values->notify = application.Notify();
    values->dontPlay = application.DontPlay();
    values->playRecording = application.PlayRec();
    values->playFile = application.PlaySnd();
    application.GetSoundPath(values->soundFile, MAX_PATH);
    values->repetitions = application.SndCount();
    values->recordButton = application.RecBtn();
    values->autoDelete = application.AutoDel();
    values->mode = application.Mode();
    values->pageStyle = application.Page();
    values->zoom = application.Zoom();
}

void StoreOptionValues(const OptionValues& values, Application& application)
{
    application.SetMenuCount(values.menuCount);
    application.SetFontSize(values.fontSize);
    application.SetTurnOn(values.turnOn);
    application.SetNotify(values.notify);
    application.SetDontPlay(values.dontPlay);
    application.SetPlayRec(values.playRecording);
    application.SetPlaySnd(values.playFile);
    application.SetSoundPath(values.soundFile);
    application.SetSndCount(values.repetitions);
    application.SetRecBtn(values.recordButton);
    application.SetAutoDel(values.autoDelete);
    application.SetMode(values.mode);
    application.SetPage(values.pageStyle);
    application.SetZoom(values.zoom);
}
