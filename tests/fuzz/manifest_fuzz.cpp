// A run's manifest and a registry export read back from any bytes, as an undo reads them
// from a damaged backup folder. Input: the manifest's text, all of it; the same bytes as an
// export file.
#include <string>

#include "fuzz_support.h"
#include "repair/reg_file.h"
#include "repair/run_record.h"

namespace {

std::string Locations(const repair::RunRecord& record) {
    std::string text;
    for (const repair::Change& change : record.changes)
        text += change.problem.location + '\n';
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const repair::RunRecord read = repair::ReadManifest("261207-090503", input);

    // What was read is written back whole, and that reads back as the same record.
    const std::string text = repair::ManifestText(read);
    const repair::RunRecord again = repair::ReadManifest("261207-090503", text);
    FUZZ_CHECK(!again.damaged);
    FUZZ_CHECK(repair::ManifestText(again) == text);

    // Cut anywhere, it gives back changes of the whole record, in their order.
    const std::string cut =
        Locations(repair::ReadManifest("", text.substr(0, size % (text.size() + 1))));
    FUZZ_CHECK(Locations(again).starts_with(cut));

    repair::ExportedValue(input, platform::kHkeyCurrentUser, "Software\\Tool", "Path");
    return 0;
}
