#include "tests/support/MessageNames.h"

#include "notewindow/InkControlMessages.h"
#include "notewindow/NoteWindowMessages.h"
#include "process/MainMessages.h"

#include <commctrl.h>

namespace {

// The system's messages have one meaning everywhere: family 0.
const unsigned kSystem = 0;

struct Name {
    UINT message;
    unsigned family;
    const char* text;
};

#define NAME(family, message) {message, family, #message}
const Name kNames[] = {
    NAME(kSystem, WM_CREATE), NAME(kSystem, WM_DESTROY), NAME(kSystem, WM_MOVE), NAME(kSystem, WM_SIZE),
    NAME(kSystem, WM_ACTIVATE), NAME(kSystem, WM_SETFOCUS), NAME(kSystem, WM_KILLFOCUS),
    NAME(kSystem, WM_ENABLE), NAME(kSystem, WM_SETREDRAW), NAME(kSystem, WM_SETTEXT),
    NAME(kSystem, WM_GETTEXT), NAME(kSystem, WM_GETTEXTLENGTH), NAME(kSystem, WM_PAINT),
    NAME(kSystem, WM_CLOSE), NAME(kSystem, WM_QUIT), NAME(kSystem, WM_ERASEBKGND),
    NAME(kSystem, WM_SHOWWINDOW), NAME(kSystem, WM_SETTINGCHANGE), NAME(kSystem, WM_ACTIVATEAPP),
    NAME(kSystem, WM_SETCURSOR), NAME(kSystem, WM_MOUSEACTIVATE), NAME(kSystem, WM_GETMINMAXINFO),
    NAME(kSystem, WM_SETFONT), NAME(kSystem, WM_GETFONT), NAME(kSystem, WM_WINDOWPOSCHANGING),
    NAME(kSystem, WM_WINDOWPOSCHANGED), NAME(kSystem, WM_NOTIFY), NAME(kSystem, WM_HELP),
    NAME(kSystem, WM_CONTEXTMENU), NAME(kSystem, WM_STYLECHANGING), NAME(kSystem, WM_STYLECHANGED),
    NAME(kSystem, WM_GETICON), NAME(kSystem, WM_NCCREATE), NAME(kSystem, WM_NCDESTROY),
    NAME(kSystem, WM_NCCALCSIZE), NAME(kSystem, WM_NCHITTEST), NAME(kSystem, WM_NCPAINT),
    NAME(kSystem, WM_NCACTIVATE), NAME(kSystem, WM_GETDLGCODE), NAME(kSystem, WM_KEYDOWN),
    NAME(kSystem, WM_KEYUP), NAME(kSystem, WM_CHAR), NAME(kSystem, WM_SYSKEYDOWN), NAME(kSystem, WM_SYSKEYUP),
    NAME(kSystem, WM_INITDIALOG), NAME(kSystem, WM_COMMAND), NAME(kSystem, WM_SYSCOMMAND),
    NAME(kSystem, WM_TIMER), NAME(kSystem, WM_HSCROLL), NAME(kSystem, WM_VSCROLL),
    NAME(kSystem, WM_INITMENU), NAME(kSystem, WM_INITMENUPOPUP), NAME(kSystem, WM_MENUSELECT),
    NAME(kSystem, WM_ENTERIDLE), NAME(kSystem, WM_CTLCOLORSTATIC), NAME(kSystem, WM_CTLCOLOREDIT),
    NAME(kSystem, WM_CTLCOLORBTN), NAME(kSystem, WM_CTLCOLORLISTBOX), NAME(kSystem, WM_MOUSEMOVE),
    NAME(kSystem, WM_LBUTTONDOWN), NAME(kSystem, WM_LBUTTONUP), NAME(kSystem, WM_LBUTTONDBLCLK),
    NAME(kSystem, WM_RBUTTONDOWN), NAME(kSystem, WM_RBUTTONUP), NAME(kSystem, WM_MOUSEWHEEL),
    NAME(kSystem, WM_PARENTNOTIFY), NAME(kSystem, WM_ENTERMENULOOP), NAME(kSystem, WM_EXITMENULOOP),
    NAME(kSystem, WM_CAPTURECHANGED), NAME(kSystem, WM_IME_SETCONTEXT), NAME(kSystem, WM_IME_NOTIFY),
    NAME(kSystem, WM_CUT), NAME(kSystem, WM_COPY), NAME(kSystem, WM_PASTE), NAME(kSystem, WM_CLEAR),
    NAME(kSystem, WM_UNDO), NAME(kSystem, WM_HOTKEY), NAME(kSystem, WM_PRINTCLIENT),

    NAME(kMainMessages, kMsgNoteSaved), NAME(kMainMessages, kMsgNoteClosed),
    NAME(kMainMessages, kMsgNoteOpening), NAME(kMainMessages, kMsgRunDeferred),
    NAME(kMainMessages, kMsgOpenHandedOver),
    NAME(kMainMessages, kMsgOpenSharedNote), NAME(kMainMessages, kMsgOpenNotePath),
    NAME(kMainMessages, kMsgShowAllNotes), NAME(kMainMessages, kMsgCheckExpired),
    NAME(kMainMessages, kMsgNewNote),

    NAME(kNoteMessages, kMsgNoteCloseRequest), NAME(kNoteMessages, kMsgNoteDiscard),
    NAME(kNoteMessages, kMsgNoteFileClosing), NAME(kNoteMessages, kMsgNoteStopRecording),
    NAME(kNoteMessages, kMsgNotePopupMenu), NAME(kNoteMessages, kMsgNoteOpenPicker),
    NAME(kNoteMessages, kMsgPickerClosed), NAME(kNoteMessages, kMsgNoteRecordButton),

    NAME(kInkMessages, kInkGetInnerWindow), NAME(kInkMessages, kInkSetPageStyle),
    NAME(kInkMessages, kInkGetModified), NAME(kInkMessages, kInkStreamIn), NAME(kInkMessages, kInkStreamOut),
    NAME(kInkMessages, kInkShowRecorder), NAME(kInkMessages, kInkStopRecording),
    NAME(kInkMessages, kInkStartRecording), NAME(kInkMessages, kInkViewSetup),
    NAME(kInkMessages, kInkSetInputMode), NAME(kInkMessages, kInkSetZoom), NAME(kInkMessages, kInkGetZoom),
    NAME(kInkMessages, kInkCanUndo), NAME(kInkMessages, kInkUndo), NAME(kInkMessages, kInkEmptyUndoBuffer),
    NAME(kInkMessages, kInkMarkText),

    NAME(kToolbarMessages, TB_ENABLEBUTTON), NAME(kToolbarMessages, TB_CHECKBUTTON),
    NAME(kToolbarMessages, TB_PRESSBUTTON), NAME(kToolbarMessages, TB_HIDEBUTTON),
    NAME(kToolbarMessages, TB_ISBUTTONENABLED), NAME(kToolbarMessages, TB_SETSTATE),
    NAME(kToolbarMessages, TB_GETSTATE), NAME(kToolbarMessages, TB_ADDBITMAP),
    NAME(kToolbarMessages, TB_DELETEBUTTON), NAME(kToolbarMessages, TB_GETBUTTON),
    NAME(kToolbarMessages, TB_BUTTONCOUNT), NAME(kToolbarMessages, TB_COMMANDTOINDEX),
    NAME(kToolbarMessages, TB_BUTTONSTRUCTSIZE), NAME(kToolbarMessages, TB_SETBITMAPSIZE),
    NAME(kToolbarMessages, TB_GETTOOLTIPS), NAME(kToolbarMessages, TB_SETTOOLTIPS),
    NAME(kToolbarMessages, TB_GETRECT), NAME(kToolbarMessages, TB_SETEXTENDEDSTYLE),
    NAME(kToolbarMessages, TB_INSERTBUTTONW), NAME(kToolbarMessages, TB_ADDBUTTONSW),
    NAME(kToolbarMessages, TB_SETBUTTONINFOW), NAME(kToolbarMessages, TB_GETBUTTONTEXTW),
};
#undef NAME

}  // namespace

std::string MessageName(UINT message, unsigned families)
{
    std::string names;
    for (const Name& name : kNames) {
        if (name.message != message || (name.family != kSystem && (name.family & families) == 0))
            continue;
        if (!names.empty())
            names += "|";
        names += name.text;
    }
    return names;
}
