// What a fuzz target asserts beyond the sanitizers: a broken promise of the
// code under test stops the run as a finding, with the promise's text.
#pragma once

#include <stdio.h>
#include <stdlib.h>

#define FUZZ_CHECK(condition)                                                \
    do {                                                                     \
        if (!(condition)) {                                                  \
            fprintf(stderr, "broken promise: %s (%s:%d)\n", #condition,     \
                    __FILE__, __LINE__);                                     \
            abort();                                                         \
        }                                                                    \
    } while (0)
