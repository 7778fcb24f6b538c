#pragma once

// How many update sessions are open. While the update interface has taken over, closing the
// last window must not quit the application.

#include <QObject>

namespace orvel {

class SparkleUpdateSession : public QObject {
    Q_OBJECT

public:
    explicit SparkleUpdateSession(QObject* parent = nullptr);

    static SparkleUpdateSession& shared();

    int nesting() const { return nesting_; }
    // The update interface takes over.
    void begin();
    // The session ended or was aborted: back to none open.
    void end();

signals:
    void nestingChanged(int nesting);

private:
    void setNesting(int nesting);
    int nesting_ = 0;
};

}  // namespace orvel
