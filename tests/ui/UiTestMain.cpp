// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point of the Qt tests: one QApplication on the offscreen platform for all suites,
// with the settings and recovery journals in a private test location.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Settings go to a fresh folder so that tests never see or change a user's settings.
    std::string config = (std::filesystem::temp_directory_path() / "qvui-XXXXXX").string();
    if (::mkdtemp(config.data())) {
        ::setenv("XDG_CONFIG_HOME", (config + "/user").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (config + "/machine").c_str(), 1);
        // Recovery journals too: a start without a file offers those it finds.
        ::setenv("XDG_STATE_HOME", (config + "/state").c_str(), 1);
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QApplication::setOrganizationName("QV");
    QApplication::setApplicationName("Quarnival");
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return result;
}
