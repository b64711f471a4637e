#include "mppr/streamstore.h"

namespace mppr {

StreamStore::~StreamStore() = default;

} // namespace mppr
