#pragma once

#include "engine/core/WorkPool.h"

// The pool the tests' walks and searches run on: small, shared by every test of the
// process and never destroyed, since a pool only runs what a job hands it and keeps
// nothing between two jobs.
inline tidvale::WorkPool& testPool()
{
    static auto* pool = new tidvale::WorkPool(2, 4);
    return *pool;
}
