// The fixture of tests that run the program's own windows: its Application
// (g_application) with the documents in a fresh folder and the test
// program as its instance, and the common controls its windows use.
//
// The settings live in the device's registry and outlive a test program,
// so each test starts from the same ones: writing with the pen on a blank
// page at 100 %, alarms shown but silent and kept, the record button off.
// A test that needs others sets them itself.
#pragma once

#include "process/Application.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new g_application over the same documents, as after a restart.
    void StartApplication();
    void EndApplication();

    TempFolder documents;
};
