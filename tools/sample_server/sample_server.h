// What the module's entry points need of the sample project server.
#pragma once

#include "com_ptr.h"
#include "project_server.h"

namespace sample_server {

// {005F5A97-03C6-4E47-9EFC-C09EA3288A7B}
inline constexpr CLSID sampleServerClass =
    {0x005f5a97, 0x03c6, 0x4e47, {0x9e, 0xfc, 0xc0, 0x9e, 0xa3, 0x28, 0x8a, 0x7b}};
inline constexpr wchar_t sampleServerClassText[] = L"{005F5A97-03C6-4E47-9EFC-C09EA3288A7B}";
inline constexpr wchar_t progId[] = L"OrvisServer.OrvisServer";

// A new project server, nobody logged in.
tallow::ComPtr<tallow::IProjectServer> makeProjectServer();

}  // namespace sample_server
