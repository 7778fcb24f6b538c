#include "OrvellaApp/SparkleUpdateSession.h"

#include <limits>

namespace orvel {

SparkleUpdateSession::SparkleUpdateSession(QObject* parent) : QObject(parent) {}

SparkleUpdateSession& SparkleUpdateSession::shared() {
    static SparkleUpdateSession session;
    return session;
}

void SparkleUpdateSession::begin() {
    if (nesting_ < std::numeric_limits<int>::max()) setNesting(nesting_ + 1);
}

void SparkleUpdateSession::end() { setNesting(0); }

void SparkleUpdateSession::setNesting(int nesting) {
    if (nesting == nesting_) return;
    nesting_ = nesting;
    emit nestingChanged(nesting_);
}

}  // namespace orvel
