#pragma once

// Reader of the "   114" layout (Project 2010 and later): tasks, relations, resources and
// assignments.

#include "mppr/mppreader.h"

namespace mppr {

class Mpp14Reader : public MppReader
{
public:
    Mpp14Reader(const StreamStore &store, Project &project);
    int read() override;
};

} // namespace mppr
