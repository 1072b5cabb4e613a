#pragma once
#include <QLockFile>
#include <QString>

// One program per data folder: the outage journal there belongs to one
// program alone.  Held for the whole run; a lock left by a program that died
// (killed, a power cut) is taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString &folder);

    // False when another program running now holds the folder.
    bool acquire();

    // What the operator is told when acquire() fails.
    QString refusal() const;

private:
    QString folder_;
    QLockFile lock_;
};
