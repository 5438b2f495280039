#include "workflow/recordwriter.h"

#include <QGlobalStatic>
#include <QThread>
#include <QThreadPool>

#include <utility>

namespace workflow {

namespace {
// One thread, apart from the application's pool: records are written in
// the order they were asked for.
struct WritingThread : QThreadPool
{
    WritingThread() { setMaxThreadCount(1); }
};
Q_GLOBAL_STATIC(WritingThread, writingThread)
} // namespace

QSharedPointer<RecordWriter> RecordWriter::create()
{
    // A job hands its reference on to the report it sends back, so the last
    // one goes on the writer's own thread; were it ever dropped elsewhere,
    // the writer is deleted there later.
    QSharedPointer<RecordWriter> writer(new RecordWriter, [](RecordWriter *w) {
        if (QThread::currentThread() == w->thread())
            delete w;
        else
            w->deleteLater();
    });
    writer->m_self = writer;
    return writer;
}

void RecordWriter::write(const QString &folder, const QString &base, const EraseAccount &account,
                         const QString &programVersion)
{
    const Job job{folder, base, account, programVersion};
    if (m_running) {
        m_next = job; // written once the record being written is done
        m_waiting = true;
        return;
    }
    start(job);
}

void RecordWriter::start(const Job &job)
{
    m_running = true;
    QSharedPointer<RecordWriter> self = m_self.toStrongRef();
    writingThread()->start([self, job]() mutable {
        const eraserecord::Written written = eraserecord::write(job.folder, job.base, job.account, job.version);
        RecordWriter *const writer = self.data();
        QMetaObject::invokeMethod(
            writer, [self = std::move(self), written] { self->finished(written); }, Qt::QueuedConnection);
    });
}

RecordWriter::Job RecordWriter::takeWaiting()
{
    m_waiting = false;
    return std::exchange(m_next, Job());
}

void RecordWriter::finishNow(int timeoutMs)
{
    writingThread()->waitForDone(timeoutMs);
    if (m_waiting) {
        const Job next = takeWaiting();
        eraserecord::write(next.folder, next.base, next.account, next.version);
    }
}

void RecordWriter::finished(const eraserecord::Written &written)
{
    m_running = false;
    if (m_waiting)
        start(takeWaiting());
    if (done)
        done(written);
    if (!busy() && idle)
        idle();
}

} // namespace workflow
