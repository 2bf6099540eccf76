// Precompiled for every library, program and test of ours (see vornel_precompile): the
// standard library headers most of them include, and tinyxml2.
#include <tinyxml2.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>
