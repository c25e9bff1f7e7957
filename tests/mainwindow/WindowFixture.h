#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QUrl>
#include <optional>
#include <vector>

#include "mainwindow/HomePage.h"
#include "platform/ProgramFolder.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "tests/support/FakeWord.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/ScratchHome.h"

namespace testsupport {

// A main window test: boxes answered, no engine, no browser, the home page never drawn unless a
// test asks, a first start (no stored output folder), and the built program folder.
class WindowTest : public ::testing::Test {
  protected:
    RecordingDialogs dialogs;
    FakeWord word;
    std::vector<QUrl> opened;
    bool openerWorks = true;
    double draw = 0.5;

    const platform::services::Override<platform::UrlOpenerService> recordingOpener{[this](const QUrl& url) {
        opened.push_back(url);
        return openerWorks;
    }};
    const platform::services::Override<mainwindow::RandomSourceService> fixedDraw{[this] { return draw; }};
    const platform::services::Override<platform::ProgramFolderService> builtProgramFolder{programDir()};

    void SetUp() override {
        word.createFails = true;  // as today on a machine without an engine
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Hollenwick"),
                           QStringLiteral("Hollenwick"));
        settings.remove(QStringLiteral("Marrowdale"));
        settings.sync();
    }

    static QString settingsFile() {
        return scratchHome() + QStringLiteral("/home/.config/Hollenwick/Hollenwick.conf");
    }
    static QString desktopFolder() { return scratchHome() + QStringLiteral("/home/Desktop/"); }

    // The stored output folder, read from the settings file itself.
    static std::optional<QString> storedText1() {
        const QSettings file(settingsFile(), QSettings::IniFormat);
        const QVariant value = file.value(QStringLiteral("Marrowdale/Text1"));
        if (!value.isValid()) return std::nullopt;
        return value.toString();
    }
};

}  // namespace testsupport
