#include "asset_kinds.h"

namespace sample_server {

HRESULT AssetKindList::Item(BSTR kind, tallow::IAssetKind** assetKind)
{
    return answer([&] { giveObject(make<AssetKind>(project_->assetKindPath(textOf(kind))), assetKind); });
}

HRESULT AssetKind::Path(BSTR* path)
{
    return answer([&] { giveText(path_, path); });
}

}  // namespace sample_server
