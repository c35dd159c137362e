#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

namespace tarvelle::fuzz {

void Fail(const char* what)
{
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

} // namespace tarvelle::fuzz
