// Writing the report file whole or not at all.
#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace velmora::report {

// The bytes of the report file for UTF-8 text whose lines already end in
// CR LF: the byte-order mark FF FE, then the text in UTF-16 little-endian.
[[nodiscard]] std::string EncodeReport(std::string_view text);

// Writes bytes to a new file beside path, flushes it to the disk and puts it
// in path's place in one step. On any failure the new file is removed, an
// existing file at path is left as it was, and platform::Failure is thrown.
void WriteWholeFile(platform::FileSystemApi& files, const std::string& path,
                    std::string_view bytes);

}  // namespace velmora::report
