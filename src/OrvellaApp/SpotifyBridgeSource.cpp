#include "SpotifyBridgeSource.h"

namespace orvel {
namespace {

QCoro::Task<SpotifySource::ContextResult> notLinked() { co_return std::unexpected(SpotifyBridgeError::notConnected()); }
QCoro::Task<> nothingToPause() { co_return; }
QCoro::Task<bool> nothingResumed() { co_return false; }

}  // namespace

QCoro::Task<SpotifySource::ContextResult> SpotifyBridgeSource::currentContext() {
    return bridge_ ? bridge_->currentContext() : notLinked();
}

QCoro::Task<> SpotifyBridgeSource::pauseSourcePlayback() {
    return bridge_ ? bridge_->pauseSourcePlayback() : nothingToPause();
}

QCoro::Task<bool> SpotifyBridgeSource::resumeSourcePlayback() {
    return bridge_ ? bridge_->resumeSourcePlayback() : nothingResumed();
}

}  // namespace orvel
