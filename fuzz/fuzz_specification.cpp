// The specification reader and grammar on any bytes, loaded twice into the same model, so that
// a reload over a (possibly partly built) model is covered as well.

#include "FuzzSupport.h"
#include "specification/SpecLoader.h"
#include "specification/SpecificationModel.h"

using namespace kestrune;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NullPlatform platform;
    const std::string path = fuzz::WriteInFolder("SpecFiles/fuzz.zrs", fuzz::AsText(data, size));
    FieldContext fields;
    SpecificationModel model(fields, fuzz::ProgramFolder());
    model.Fields.platform = &platform;
    LoadSpecification(model, path);
    LoadSpecification(model, path);
    return 0;
}
