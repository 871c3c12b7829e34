// Prints the records a library answers with, field by field in record order:
// texts in double quotes, null pointers as null, flags in hex.
#pragma once

#include "host_records.h"

namespace tallow_host {

void printProjectInfo(const tallow::ProjectInfo& info);
void printScriptInfo(const tallow::ScriptInfo& script);

}  // namespace tallow_host
