// The control reads its content with the format library's reader.
#pragma once

#include "formats/LeReader.h"

using formats::LeReader;
