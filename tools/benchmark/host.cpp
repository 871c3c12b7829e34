#include "host.h"

#include <cstring>

namespace bench {

HostLogin::HostLogin(const char* projectFile)
{
    strncpy(projectFile_, projectFile, sizeof projectFile_ - 1);
    request_.projectFile = projectFile_;
    request_.loginText1 = "admin";
    request_.loginText2 = "";
}

HostLogin::~HostLogin()
{
    freeStrings();
    CoTaskMemFree(info_);
}

void HostLogin::freeStrings()
{
    if (!info_) return;
    BSTR* fields = reinterpret_cast<BSTR*>(info_);
    for (size_t i = 0; i < offsetof(tallow::ProjectInfo, flags) / sizeof(BSTR); ++i) {
        SysFreeString(fields[i]);
        fields[i] = nullptr;
    }
}

HostScript::~HostScript()
{
    for (tallow::CountedBlock** field :
         {&record_.name, &record_.description, &record_.compiledPath, &record_.scriptPath}) {
        tallow::releaseCountedReference(*field);
        *field = nullptr;
    }
}

void HostScript::setFolder(const char* folder)
{
    tallow::CountedString::fromAnsi(folder).storeInto(record_.scriptPath);
}

}  // namespace bench
