// The host's side of the records' ownership.
//
// ProjectInfo: the library allocates the record and frees it at the next
// login through the same pointer variable; the BSTRs in it are the host's,
// who frees each with SysFreeString before the next login (and at the end).
//
// ScriptInfo: the host owns the record; each counted-string field holds one
// reference, which the host drops with releaseCountedReference when done.
#pragma once

#include "host_records.h"

namespace tallow_host {

// The host's ProjectInfo pointer variable, whose strings it frees.
class HeldProjectInfo {
public:
    HeldProjectInfo() = default;
    HeldProjectInfo(const HeldProjectInfo&) = delete;
    HeldProjectInfo& operator=(const HeldProjectInfo&) = delete;
    ~HeldProjectInfo() { freeStrings(); }

    // The address LoginToProject receives.
    tallow::ProjectInfo** variable() { return &record_; }
    const tallow::ProjectInfo* record() const { return record_; }

    // Frees every BSTR of the record (not the record: it is the library's).
    void freeStrings();

private:
    tallow::ProjectInfo* record_ = nullptr;
};

// A ScriptInfo of the host's, whose counted strings it releases.
class HeldScriptInfo {
public:
    HeldScriptInfo() = default;
    HeldScriptInfo(const HeldScriptInfo&) = delete;
    HeldScriptInfo& operator=(const HeldScriptInfo&) = delete;
    ~HeldScriptInfo();

    tallow::ScriptInfo& record() { return record_; }

private:
    tallow::ScriptInfo record_{};
};

}  // namespace tallow_host
