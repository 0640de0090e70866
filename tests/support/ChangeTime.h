#pragma once

// Change times come from a coarse kernel clock: two changes made within one tick give
// a file the same change time. Tests that rely on a change showing in the change time
// wait for the tick with this.
#include "support/TestTree.h"

#include <sys/stat.h>

// Returns once a change made now gives a change time other than `st`'s.
inline void waitForNewChangeTime(const TestTree& t, const struct stat& st)
{
    const std::string probe = t.file("ctime-probe", 1);
    for (int i = 0; i < 1000000; ++i) {
        ::chmod(probe.c_str(), (i % 2) ? 0644 : 0600);
        struct stat now { };
        ::stat(probe.c_str(), &now);
        if (now.st_ctim.tv_sec != st.st_ctim.tv_sec || now.st_ctim.tv_nsec != st.st_ctim.tv_nsec)
            return;
    }
}
