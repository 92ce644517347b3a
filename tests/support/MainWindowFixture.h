// A main window made fresh for every test, with every message box recorded
// instead of shown. The window is made in SetUp (a fixture that must set
// something up first does it before calling SetUp) and closed in TearDown,
// before the doubles and scopes of a derived fixture go.
#pragma once

#include "RecordingDialogs.h"
#include "m_grf_w.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace qrv::test
{

class TMainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override { Window = std::make_unique<TF_Main_GRF>(); }
    void TearDown() override { Window.reset(); }

    // Shows the window and waits until it is on the screen, for tests that
    // paint or use the mouse.
    void ShowWindow()
    {
        Window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    }
    // Shown and active, for tests that type.
    void ActivateWindow()
    {
        ShowWindow();
        if (HasFatalFailure()) return;
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    }

    TRecordingDialogs Dialogs;
    std::unique_ptr<TF_Main_GRF> Window;
};

} // namespace qrv::test
