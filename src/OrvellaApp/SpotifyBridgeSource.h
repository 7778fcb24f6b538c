#pragma once

// The Spotify bridge as the store's way to the linked account. Every call goes to the bridge
// unchanged. The bridge belongs to the application; should it be gone before the store, the
// account counts as not linked.

#include <QPointer>

#include "SpotifyBridge/SpotifyBridge.h"
#include "OrvelStore/SpotifySource.h"

namespace orvel {

class SpotifyBridgeSource final : public SpotifySource {
public:
    explicit SpotifyBridgeSource(SpotifyBridge& bridge) : bridge_(&bridge) {}

    QCoro::Task<ContextResult> currentContext() override;
    QCoro::Task<> pauseSourcePlayback() override;
    QCoro::Task<bool> resumeSourcePlayback() override;

private:
    QPointer<SpotifyBridge> bridge_;
};

}  // namespace orvel
