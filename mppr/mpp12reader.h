#pragma once

// Reader of the "   112" layout (Project 2007): tasks, relations, resources and assignments.

#include "mppr/mppreader.h"

namespace mppr {

class Mpp12Reader : public MppReader
{
public:
    Mpp12Reader(const StreamStore &store, Project &project);
    int read() override;
};

} // namespace mppr
