#include "OrvelUI/theme/SharedPictures.h"

namespace orvel {

SharedPictures& SharedPictures::shared() {
    static SharedPictures pictures;
    return pictures;
}

QImage SharedPictures::picture(const Key& key, const std::function<QImage()>& paint) {
    std::lock_guard lock(mutex_);
    if (const auto kept = pictures_.find(key); kept != pictures_.end()) return kept->second;
    dropUnheld();
    QImage made = paint();
    pictures_.insert_or_assign(key, made);
    return made;
}

std::size_t SharedPictures::size() const {
    std::lock_guard lock(mutex_);
    return pictures_.size();
}

// A picture that only this cache still refers to belongs to no item now.
void SharedPictures::dropUnheld() {
    std::erase_if(pictures_, [](const auto& entry) { return entry.second.isDetached(); });
}

}  // namespace orvel
