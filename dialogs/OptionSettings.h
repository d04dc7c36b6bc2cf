// Moves the options window's values to and from the settings store. The
// all-notes window loads them before it opens the options and stores them
// when the options window reports that they were accepted.
#pragma once

#include "dialogs/OptionsWindow.h"

class Application;

void LoadOptionValues(Application& application, OptionValues* values);
// MenuCount goes back as it was loaded: no page offers it.
void StoreOptionValues(const OptionValues& values, Application& application);
