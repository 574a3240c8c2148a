#pragma once

#include "data/DataFileLoader.h"

#include <string_view>

// The text-file reading, on the bytes of the whole file.
[[nodiscard]] std::optional<LoadFailure> loadTextData(PriceSeries& series, std::string_view bytes);
