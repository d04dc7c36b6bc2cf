// The control writes its content with the format library's writer.
#pragma once

#include "formats/LeWriter.h"

using formats::LeWriter;
