// The chooser's paths: offered drives follow the mask's bits, labels and the folder filter follow
// their rules for any text, and a folder's path is the drive and its labels from the top down.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "chooser/logic/ChooserPaths.h"

namespace {

const std::uint32_t kOfferedBits = 0x03FFFFFC; // C: to Z:
const std::uint32_t kDirectory = 0x10;

int BitCount(std::uint32_t v)
{
    int n = 0;
    for (; v; v &= v - 1)
        ++n;
    return n;
}

void CheckDrives(std::uint32_t mask)
{
    const std::vector<std::string> drives = DriveTextsFromMask(mask);
    FUZZ_CHECK(static_cast<int>(drives.size()) == BitCount(mask & kOfferedBits));
    char last = 'B';
    for (const std::string& d : drives) {
        FUZZ_CHECK(d.size() == 2 && d[1] == ':');
        FUZZ_CHECK(d[0] > last && d[0] <= 'Z');
        FUZZ_CHECK(mask & (std::uint32_t{1} << (d[0] - 'A')));
        last = d[0];
    }
}

void CheckLabel(bool isCdRom, const std::string& driveText)
{
    const std::string label = DriveTypeLabel(isCdRom, driveText);
    const std::string cd = DriveTypeLabel(true, "C:");
    const std::string network = DriveTypeLabel(false, "\\\\server");
    const std::string disc = DriveTypeLabel(false, "C:");
    if (isCdRom)
        FUZZ_CHECK(label == cd);
    else if (!driveText.empty() && driveText[0] == '\\')
        FUZZ_CHECK(label == network);
    else
        FUZZ_CHECK(label == disc);
    FUZZ_CHECK(label.size() >= 2 && label.compare(label.size() - 2, 2, "  ") == 0);
}

void CheckFolderPath(const std::string& drive, const std::vector<std::string>& labelsUpward,
                     const std::string& entry)
{
    const std::string path = FolderPathFromLabels(drive, labelsUpward);
    std::size_t expected = drive.size() + 1;
    for (const std::string& label : labelsUpward)
        expected += label.size();
    if (labelsUpward.size() > 1)
        expected += labelsUpward.size() - 1;
    FUZZ_CHECK(path.size() == expected);
    FUZZ_CHECK(path.compare(0, drive.size() + 1, drive + "\\") == 0);
    // From the top down: the outermost label follows the drive, the node's own label ends the path.
    std::size_t at = drive.size() + 1;
    for (std::size_t i = labelsUpward.size(); i-- > 0;) {
        const std::string& label = labelsUpward[i];
        FUZZ_CHECK(path.compare(at, label.size(), label) == 0);
        at += label.size();
        if (i > 0) {
            FUZZ_CHECK(path[at] == '\\');
            ++at;
        }
    }
    FUZZ_CHECK(at == path.size());

    const std::string full = EntryPath(path, entry);
    FUZZ_CHECK(full.size() == path.size() + 1 + entry.size());
    FUZZ_CHECK(full.compare(0, path.size(), path) == 0 && full[path.size()] == '\\');
    FUZZ_CHECK(full.compare(path.size() + 1, entry.size(), entry) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::uint32_t mask = input.ConsumeIntegral<std::uint32_t>();
    const std::uint32_t attributes = input.ConsumeIntegral<std::uint32_t>();
    const bool isCdRom = input.ConsumeBool();
    const std::string drive = input.ConsumeRandomLengthString(300);
    const std::string name = input.ConsumeRandomLengthString(300);
    std::vector<std::string> labels;
    const int count = input.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < count; ++i)
        labels.push_back(input.ConsumeRandomLengthString(260));

    CheckDrives(mask);
    CheckLabel(isCdRom, drive);
    FUZZ_CHECK(IsPlainFolder(attributes, name) == (attributes == kDirectory && name != "." && name != ".."));
    CheckFolderPath(drive, labels, name);
    return 0;
}
