// Writes the Windows Media window's dialog-initialisation resource (the Media Player control's
// initial state) to the file named by the first argument.
#include <cstdio>

#include "wmp/logic/StateStream.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argc > 0 ? argv[0] : "make_dlginit");
        return 2;
    }
    const std::vector<std::uint8_t> resource =
        BuildDialogInitResource(kMediaPlayerControlId, BuildInitialStateStream());
    std::FILE* f = std::fopen(argv[1], "wb");
    if (f == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(resource.data(), 1, resource.size(), f) == resource.size();
    if (std::fclose(f) != 0 || !written) {
        std::fprintf(stderr, "%s: write failed\n", argv[1]);
        return 1;
    }
    return 0;
}
