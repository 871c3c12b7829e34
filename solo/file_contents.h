// A file read whole into memory in one go, for the DOM to parse from there.
#pragma once

#include "com_error.h"

#include <objidl.h>

namespace tallow {

// A stream over all the bytes of the file at `path`, read with the file held
// only for the read. The file is opened for reading with reads and deletes
// shared, so a handle that writes to it or denies reads keeps it from being
// read, and a save that replaces it whole may go ahead at any moment. Null
// when the file cannot be opened or read (missing, a folder, held or locked
// by another handle); exhausted memory raises E_OUTOFMEMORY.
ComPtr<IStream> fileContents(BSTR path);

}  // namespace tallow
