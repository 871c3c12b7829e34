#include "held_records.h"

namespace tallow_host {

void HeldProjectInfo::freeStrings()
{
    if (!record_) return;
    BSTR* const fields[] = {&record_->name, &record_->comment, &record_->location, &record_->assetPath,
                            &record_->scriptsPath, &record_->dataPoolsPath, &record_->logPath, &record_->datPath,
                            &record_->dllPath, &record_->externCPath, &record_->idlPath, &record_->includePath,
                            &record_->javaProxiesPath, &record_->llsPath, &record_->basicPath, &record_->vpPath,
                            &record_->win32Path, &record_->userName, &record_->projectPath};
    for (BSTR* field : fields) {
        SysFreeString(*field);
        *field = nullptr;
    }
}

HeldScriptInfo::~HeldScriptInfo()
{
    tallow::releaseCountedReference(record_.name);
    tallow::releaseCountedReference(record_.description);
    tallow::releaseCountedReference(record_.compiledPath);
    tallow::releaseCountedReference(record_.scriptPath);
}

}  // namespace tallow_host
