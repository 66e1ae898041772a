#pragma once
// The bridge to the unzip layer: fills its option, callback and version records and makes one
// extraction call. Its password state is module-wide: one extraction at a time.
#include <string>

#include "updater/unzip_options.h"

namespace pravik::updater {

// The password the callback supplies; an empty text leaves the one already kept.
void KeepUnzipPassword(const std::wstring& password);

// Extracts the whole archive into the folder; the unzip layer's result code.
int VBUnzip(const std::wstring& archive, const std::wstring& folder, const UnzipOptions& options);

}  // namespace pravik::updater
