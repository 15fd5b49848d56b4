#pragma once
#include <cstddef>

namespace velorin::testing {

/// Calls of the global operator new so far (replaced in allocation_counter.cpp).
std::size_t AllocationCount();

}  // namespace velorin::testing
