// The project's asset kinds and their folders.
#pragma once

#include "com_object.h"
#include "project_definition.h"
#include "project_server.h"

namespace sample_server {

class AssetKindList : public ComObject<tallow::IAssetKindList, tallow::IID_IAssetKindList> {
public:
    explicit AssetKindList(std::shared_ptr<const ProjectDefinition> project) : project_(std::move(project)) {}

    // E_INVALIDARG for a kind the project does not have.
    HRESULT STDMETHODCALLTYPE Item(BSTR kind, tallow::IAssetKind** assetKind) override;

private:
    std::shared_ptr<const ProjectDefinition> project_;
};

class AssetKind : public ComObject<tallow::IAssetKind, tallow::IID_IAssetKind> {
public:
    explicit AssetKind(std::wstring path) : path_(std::move(path)) {}

    HRESULT STDMETHODCALLTYPE Path(BSTR* path) override;

private:
    std::wstring path_;
};

}  // namespace sample_server
