#pragma once

// Reader of the "   19" layout (Project 2000 to 2003): tasks, relations, resources and
// assignments; one fixed block per record class, variable data addressed by 8-bit keys.

#include "mppr/mppreader.h"

namespace mppr {

class Mpp9Reader : public MppReader
{
public:
    Mpp9Reader(const StreamStore &store, Project &project);
    int read() override;
};

} // namespace mppr
