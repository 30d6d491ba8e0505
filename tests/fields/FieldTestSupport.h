#pragma once
// A field context wired to a scripted platform, and a short way to write a field description.

#include <string>

#include "FakePlatform.h"
#include "fields/FieldContext.h"
#include "fields/FieldCore.h"

namespace kestrune::fieldtest {

struct Context {
    Context() {
        ctx.platform = fake;
        ctx.Files.BasePath = "/base";
        ctx.Files.FileDest = "/dest";
        ctx.Files.InputFolder = "/work";
        ctx.Files.InputName = "level1";
        ctx.Files.InputExt = "map";
    }
    kestrune::testing::FakePlatform fake;
    FieldContext ctx;
};

inline FieldDescription Desc(std::string caption, std::string param = "", std::string groups = "",
                             int width = 1) {
    FieldDescription d;
    d.Caption = std::move(caption);
    d.Param = std::move(param);
    d.Groups = std::move(groups);
    d.Width = width;
    return d;
}

}  // namespace kestrune::fieldtest
