// Removes one item with the engine's permanent removal, as every screen does, so
// that bench/deep-remove.sh can time it and read its peak memory beside `rm -rf`.
//   deep_remove_probe PATH
#include "engine/fs/SafeRemove.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: deep_remove_probe PATH\n");
        return 2;
    }
    const tidvale::RemoveOutcome out = tidvale::removeItem(argv[1]);
    if (!out.ok()) {
        std::fprintf(stderr, "%s\n", tidvale::describeRemoveError(out.error, out.where).c_str());
        return 1;
    }
    return 0;
}
