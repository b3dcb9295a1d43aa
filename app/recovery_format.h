#pragma once
// The bytes of a recovery copy: the unsaved text of a document and the path it was loaded from
// or saved to (empty when untitled), and the question that offers one. Portable: no platform
// headers.
//
//   "DWRC"  u32 version  u32 path units  u32 text units  path units  text units  u32 check
//
// Numbers and UTF-16 code units are little-endian; the check is FNV-1a over every byte before
// it. A copy is taken whole or not at all: any other length, version or check is rejected.

#include <optional>
#include <string>
#include <string_view>

namespace app {

struct RecoveryCopy {
    std::wstring path;
    std::wstring text;
};

// The copy's bytes. Each wchar_t is one UTF-16 code unit, kept as it is (lone surrogates and
// U+0000 included).
std::string encodeRecoveryCopy(std::wstring_view path, std::wstring_view text);
// The copy the bytes hold; nothing when they are not a whole copy of this version.
std::optional<RecoveryCopy> decodeRecoveryCopy(std::string_view bytes);

// The question that offers a left copy of the document at `path` (empty when untitled), saying
// how many more copies wait for their turn.
std::wstring restoreQuestion(const std::wstring& path, std::size_t more);

} // namespace app
