#pragma once

// Writes erase records on a thread of its own, so that writing one (a JSON
// file and a PDF laid out page by page) never holds up the window. A job gets
// a copy of the run's account (Qt's containers share the keys: nothing is
// copied) and hands back only where the files went, or why they could not be
// written, to the thread the writer was made on, where `done` is called.
// Nothing else crosses threads. Records are written one after another; a
// record asked for while another is being written waits, and a newer one
// replaces it while it waits: the run's latest state is what ends up on disk.
// A writer stays alive until its last job has reported, so a window that goes
// while a record is being written loses only the report of it.

#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <functional>

#include "workflow/eraseaccount.h"
#include "workflow/eraserecord.h"

namespace workflow {

class RecordWriter : public QObject
{
public:
    static QSharedPointer<RecordWriter> create();

    // Called on the thread the writer was made on when a record is on disk (or could not
    // be written); set it to nullptr to drop the reports still to come.
    std::function<void(const eraserecord::Written &written)> done;
    // Called there, after `done`, when nothing is being written or waits any more.
    std::function<void()> idle;

    void write(const QString &folder, const QString &base, const EraseAccount &account,
               const QString &programVersion);
    // Finishes what there is to write before the program ends: waits (at
    // most timeoutMs) for the record being written, then writes the one
    // waiting, if any, on the calling thread. Nothing is reported.
    void finishNow(int timeoutMs);
    // A record is being written, or waits to be.
    bool busy() const { return m_running || m_waiting; }

private:
    struct Job
    {
        QString folder;
        QString base;
        EraseAccount account;
        QString version;
    };
    RecordWriter() = default;
    void start(const Job &job);
    Job takeWaiting(); // the job that waits, no longer waiting
    void finished(const eraserecord::Written &written);

    QWeakPointer<RecordWriter> m_self;
    bool m_running = false;
    bool m_waiting = false;
    Job m_next;
};

} // namespace workflow
