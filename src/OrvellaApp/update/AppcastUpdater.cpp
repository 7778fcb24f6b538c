#include "OrvellaApp/update/AppcastUpdater.h"

#include <QFileInfo>

#include <QCoroFuture>

#include "OrvellaApp/update/BoundedDownload.h"
#include "Support/FileWriter.h"
#include "Support/RunDetached.h"

namespace orvel {

AppcastUpdater::AppcastUpdater(AppcastUpdaterConfig config, Clock& clock, QObject* parent)
    : Updater(parent), config_(std::move(config)), clock_(clock) {}

AppcastUpdater::~AppcastUpdater() { lifetime_.end(); }

bool AppcastUpdater::canCheckForUpdates() const {
    using Phase = UpdatePresentation::Phase;
    return !busy_ && presentation_.phase != Phase::available && presentation_.phase != Phase::installing;
}

void AppcastUpdater::checkForUpdateInformation() { startCheck(false); }

void AppcastUpdater::checkForUpdates() { startCheck(true); }

void AppcastUpdater::startCheck(bool userInitiated) {
    if (busy_) return;
    setBusy(true);
    check(lifetime_.token(), userInitiated);
}

QCoro::Task<> AppcastUpdater::check(Token self, bool userInitiated) {
    const DownloadLimits limits{.maxBytes = static_cast<std::int64_t>(self->config_.limits.maxFeedBytes),
                                .exactLength = std::nullopt,
                                .deadline = self->config_.feedDeadline,
                                .tooLarge = UpdateError::Kind::feedTooLarge};
    QFuture<BoundedDownload::Result> download =
        BoundedDownload::start(self->network_, self->config_.feedUrl, self->config_.addresses, limits, self->clock_);
    const BoundedDownload::Result feed = co_await std::move(download);
    if (!self) co_return;
    UpdateResult<std::optional<AppcastItem>> outcome = std::unexpected(UpdateError{});
    if (!feed) {
        outcome = std::unexpected(feed.error());
    } else {
        const auto items = appcast::parse(std::string_view(feed->constData(), feed->size()), self->config_.addresses,
                                          self->config_.limits);
        if (items) {
            outcome = appcast::newestUpdate(*items, self->config_.runningVersion);
        } else {
            outcome = std::unexpected(items.error());
        }
    }
    self->checkFinished(outcome, userInitiated);
}

void AppcastUpdater::checkFinished(const UpdateResult<std::optional<AppcastItem>>& outcome, bool userInitiated) {
    // The presentation changes before the updater is free again, so a found update is never
    // offered while a second check could start.
    if (!outcome) {
        emit didAbortWithError(outcome.error());
        emit didFinishUpdateCycle();
        if (userInitiated) {
            present(UpdatePresentation::failed({}, outcome.error()));
        }
        setBusy(false);
        return;
    }
    if (const std::optional<AppcastItem>& found = *outcome) {
        emit didFindValidUpdate(*found);
        if (userInitiated) {
            offered_ = *found;
            emit willShowUpdate(*found);
            present(UpdatePresentation::available(found->displayVersion, found->notes, config_.runningVersion));
        }
    } else if (userInitiated) {
        present(UpdatePresentation::upToDate(config_.runningVersion));
    }
    emit didFinishUpdateCycle();
    setBusy(false);
}

void AppcastUpdater::installUpdate() {
    if (busy_ || presentation_.phase != UpdatePresentation::Phase::available || !offered_) return;
    const AppcastItem item = *offered_;
    setBusy(true);
    emit willInstallUpdate(item);
    present(UpdatePresentation::installing(item.displayVersion));
    install(lifetime_.token(), item);
}

QCoro::Task<> AppcastUpdater::install(Token self, AppcastItem item) {
    const DownloadLimits limits{.maxBytes = std::min(item.archiveLength, self->config_.limits.maxArchiveBytes),
                                .exactLength = item.archiveLength,
                                .deadline = self->config_.archiveDeadline,
                                .tooLarge = UpdateError::Kind::archiveTooLarge};
    QFuture<BoundedDownload::Result> download =
        BoundedDownload::start(self->network_, item.archiveUrl, self->config_.addresses, limits, self->clock_);
    const BoundedDownload::Result archive = co_await std::move(download);
    if (!self) co_return;
    if (!archive) {
        self->installFinished(std::unexpected(archive.error()), item);
        co_return;
    }

    // Checked over every byte before anything on disk changes.
    auto check = [verifier = self->config_.verifier, bytes = *archive, signature = item.signature] {
        return verifier.verify(bytes, signature);
    };
    QFuture<bool> checking = runDetached(std::move(check));
    const bool genuine = co_await std::move(checking);
    if (!self) co_return;
    if (!genuine) {
        self->installFinished(updateFailure(UpdateError::Kind::badSignature, item.archiveUrl.toString().toStdString()),
                              item);
        co_return;
    }

    auto write = [target = self->config_.target, bytes = *archive,
                  name = QFileInfo(item.archiveUrl.path()).fileName().toStdString()] {
        return updateInstaller::install(target, bytes, name);
    };
    QFuture<UpdateResult<UpdateInstallOutcome>> writing = FileWriter::shared().submit(std::move(write));
    const UpdateResult<UpdateInstallOutcome> installed = co_await std::move(writing);
    if (!self) co_return;
    self->installFinished(installed, item);
}

void AppcastUpdater::installFinished(const UpdateResult<UpdateInstallOutcome>& outcome, const AppcastItem& item) {
    offered_.reset();
    if (!outcome) {
        emit didAbortWithError(outcome.error());
        present(UpdatePresentation::failed(item.displayVersion, outcome.error()));
        setBusy(false);
        return;
    }
    present(UpdatePresentation::installed(item.displayVersion, *outcome));
    // The replaced program is what runs from now on: a later check offers only a newer one.
    if (outcome->kind == UpdateInstallOutcome::Kind::replacedProgram) config_.runningVersion = item.version;
    if (outcome->kind == UpdateInstallOutcome::Kind::savedToDownloads && config_.reveal) config_.reveal(outcome->path);
    // The new program is complete on disk: nothing holds the application open any longer.
    emit willFinishUpdateSession();
    setBusy(false);
}

void AppcastUpdater::dismissUpdate() {
    using Phase = UpdatePresentation::Phase;
    if (presentation_.phase == Phase::hidden || presentation_.phase == Phase::installing) return;
    offered_.reset();
    present({});
    emit willFinishUpdateSession();
    emit canCheckForUpdatesChanged(canCheckForUpdates());
}

void AppcastUpdater::setBusy(bool busy) {
    busy_ = busy;
    emit canCheckForUpdatesChanged(canCheckForUpdates());
}

void AppcastUpdater::present(UpdatePresentation presentation) {
    if (presentation == presentation_) return;
    presentation_ = std::move(presentation);
    emit presentationChanged();
}

}  // namespace orvel
