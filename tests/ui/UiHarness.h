#pragma once
// The real window over the real core in a fresh program folder holding a copy of the samples,
// with a scripted platform behind it.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QTabWidget>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "MainWindow.h"
#include "TempDir.h"
#include "UiSetup.h"
#include "app/Kestrune.h"
#include "base/Paths.h"

namespace kestrune::testing {

inline void SetUpTestApplication() {
    static bool done = false;
    if (!done) {
        ui::SetUpApplication(*static_cast<QApplication*>(QCoreApplication::instance()));
        QApplication::setQuitOnLastWindowClosed(false);
        done = true;
    }
}

struct UiHarness {
    TempDir home;
    FakePlatform platform;
    std::unique_ptr<Kestrune> core;
    std::unique_ptr<ui::MainWindow> window;

    UiHarness() {
        SetUpTestApplication();
        // Into the folder named without its final separator: MinGW's library copies nothing
        // into "folder/".
        std::filesystem::copy(KESTRUNE_SAMPLES_DIR,
                              std::filesystem::path(home.path()).parent_path(),
                              std::filesystem::copy_options::recursive);
        core = std::make_unique<Kestrune>(platform, home.path(), home / "kestrune");
        window = std::make_unique<ui::MainWindow>(*core);
    }

    void Start(std::vector<std::string> arguments = {}) {
        core->Start(std::move(arguments));
        window->Sync();
    }
    std::string Preset(const char* name) const { return home / ("Presets/" + std::string(name)); }

    template <typename T>
    T* Find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    // Triggers a menu item the way a person's click does.
    void Trigger(const char* name) const {
        QAction* action = Find<QAction>(name);
        QVERIFY2(action != nullptr, name);
        QVERIFY2(action->isEnabled(), name);
        action->trigger();
    }
    QTabWidget* Tabs() const { return Find<QTabWidget>("tabMain"); }
    // The caption check box of a field on program tab `tab`.
    QCheckBox* FieldCheck(int tab, const QString& caption) const {
        for (QCheckBox* box : Tabs()->widget(tab)->findChildren<QCheckBox*>()) {
            if (box->text() == caption) {
                return box;
            }
        }
        return nullptr;
    }
    AppState& State() const { return core->frmMain.State(); }
};

inline QStringList ActionNames(const QList<QAction*>& actions) {
    QStringList names;
    for (const QAction* action : actions) {
        names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    }
    return names;
}

}  // namespace kestrune::testing
