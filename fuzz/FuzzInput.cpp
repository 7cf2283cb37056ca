#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

namespace velmora::fuzzing {

void Fail(const char* what) {
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

}  // namespace velmora::fuzzing
