// Script attributes as the library reads them: a VARIANT from GetAttribute
// turned into text or into a 32-bit integer.
#pragma once

#include "com_error.h"
#include "project_server.h"

namespace tallow {

// Text of a value: a VT_BSTR up to its first NUL character (a null BSTR stays
// null); any other type through VariantChangeType to VT_BSTR with flags 0. A
// value that does not convert (VT_NULL, say) raises that conversion's ComError.
Bstr attributeText(const VARIANT& value);
// Integer of a value: a VT_I4 as it stands; any other type through
// VariantChangeType to VT_I4 with flags 0, which raises ComError on failure.
long attributeNumber(const VARIANT& value);

// GetAttribute(`name`) on `script`, as text or as an integer.
Bstr attributeText(const ComPtr<IServerScript>& script, const wchar_t* name);
long attributeNumber(const ComPtr<IServerScript>& script, const wchar_t* name);

}  // namespace tallow
