// The project-selection dialog of the outside library tallowprojects.dll.
#pragma once

#include "host_records.h"

namespace tallow {

// Bytes of the buffer the dialog fills and of the copy kept in the request.
constexpr size_t selectionBufferSize = 517;

// Lets the user choose a project file and points request.projectFile at a new
// 517-byte buffer holding the chosen path. False, with nothing changed, when
// tallowprojects.dll or its LaunchSelectProjectDlg cannot be found.
bool selectProjectFile(LoginRequest& request);

}  // namespace tallow
