#pragma once
// A program folder in a temporary directory with two specifications (tests/data/app), a tool,
// an input file and the whole program (three windows) on a scripted platform.

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "TempDir.h"
#include "app/Kestrune.h"

namespace kestrune::testing {

// Two stages and a helper program; the helper lends "-h" to Compiler.
inline const std::string kChainSpec = ReadFixture("app/Chain.zrs");
// One program of its own.
inline const std::string kOtherSpec = ReadFixture("app/Other.zrs");

struct AppHarness {
    AppHarness() {
        fake.userDataFolder = dir / "data";
        dir.Write("SpecFiles/Chain.zrs", kChainSpec);
        dir.Write("SpecFiles/Other.zrs", kOtherSpec);
        compiler = dir.Write("tools/cc", "#!/bin/sh\n");
        linker = dir.Write("tools/ld", "#!/bin/sh\n");
        dir.Write("Config/Chain.path",
                  "BasePath = " + dir.path() + "base\r\nFileDest = " + dir.path() +
                      "dest\r\nCompiler = " + compiler + "\r\nLinker = " + linker + "\r\n");
        input = dir.Write("work/level1.map", "map");
        viewer = dir.Write(std::string(kLogViewerFileName), "viewer");
    }

    // A preset of Chain.zrs: Compiler's stage and Verbose ticked, and the input file when given.
    std::string ChainPreset(const std::string& name, const std::string& inputFile = {}) {
        return dir.Write(name,
                         "ZRP200\r\n\r\n[Header]\r\nSpecFile = Chain.zrs\r\nFile = " + inputFile +
                             "\r\n\r\n[Class = Compiler]\r\nRun = True\r\n[Field = Verbose]"
                             "\r\nChecked = True\r\n[Field = Level]\r\nChecked = False\r\n"
                             "Value = 3\r\n\r\n");
    }

    void Start(std::vector<std::string> arguments = {}) { program.Start(std::move(arguments)); }
    // Chooses the Specifications menu entry with this caption, as the user does.
    EventResult ChooseSpecification(const std::string& caption) {
        const auto& items = program.frmMain.cmdSpecificationsMenu.items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].caption == caption) {
                return program.ChooseMenuItem("cmdSpecificationsMenu", i);
            }
        }
        return EventResult::OutOfRange;
    }
    // The captions of a menu the core builds.
    static std::vector<std::string> Captions(const MenuState& menu) {
        std::vector<std::string> captions;
        for (const MenuItem& item : menu.items) {
            captions.push_back(item.caption);
        }
        return captions;
    }
    TfrmMain& main() { return program.frmMain; }
    AppState& state() { return program.frmMain.State(); }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const RecordedMessage& m : fake.messages) {
            texts.push_back(m.text);
        }
        return texts;
    }

    TempDir dir;
    FakePlatform fake;
    std::string compiler, linker, input, viewer;
    Kestrune program{fake, dir.path(), dir / "kestrune"};
};

}  // namespace kestrune::testing
