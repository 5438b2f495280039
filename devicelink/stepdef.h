#pragma once

// One command step of the device link, declared once beside its output rule
// and outcome rows: the command it runs, how long the command may take,
// whether the phone is probed before the step decides, and its log texts.
// The engine (stepengine.cpp) runs every step from this description: it
// starts the command, collects its output as it comes, judges it when the
// command has finished (or ends it at its time-out, which counts as a
// failure), runs the device probe when the step wants one, and then calls the
// outcome rows. Nothing waits inside a slot.

#include "mainwindow.h"

// The program a step runs.
enum class StepTool { None, Adb, Netstat, Tasklist, Taskkill };

// How long a command may take: Short for `adb devices` and the Windows
// commands, Adb for other adb commands, Install for `adb install` (counted
// from its last output: a large package keeps printing progress).
enum class StepWait { Short, Adb, Install };

// The device probe (`adb devices`) after the command: never, always, or
// unless the command failed.
enum class StepProbe { Never, Always, UnlessError };

// What the output handler logs on every chunk: the chunk count after the
// step's text, the count and the whole output so far, or the output only.
enum class ChunkLog { Count, CountAndOutput, Output };

struct MainWindow::StepDef
{
    using Judge = void (MainWindow::*)(const QString *output);
    using Decide = void (MainWindow::*)(bool phoneListed);
    using Arguments = QStringList (MainWindow::*)() const;
    using Hook = void (MainWindow::*)();

    DeviceStep step; // its process, and its timer when it has one (MainWindow::timedSteps)
    StepTool tool = StepTool::None;
    QStringList arguments;
    Arguments moreArguments = nullptr; // appended, from the values of the moment
    StepWait wait = StepWait::Adb;
    StepProbe probe = StepProbe::Never;

    const char *trace = nullptr;      // appended to the hidden step trace
    const char *startLog = nullptr;   // when the step starts
    const char *chunkLog = nullptr;   // on every output chunk
    ChunkLog chunkStyle = ChunkLog::Count;
    const char *errorLog = nullptr;   // first line of a failed command, before its standard error
    const char *pendingLog = nullptr; // output that came with the end, on exit code 0
    const char *resultLog = nullptr;  // the whole output, before it is judged
    const char *doneLog = nullptr;    // once the command is over

    Judge judge = nullptr;   // the output rule
    Decide decide = nullptr; // the outcome rows
    Hook onChunk = nullptr;  // after every output chunk

    explicit StepDef(DeviceStep s) : step(s) {}

    // The command and its time-out.
    StepDef runs(StepTool t, QStringList args, StepWait w, Arguments more = nullptr) const
    {
        StepDef d = *this;
        d.tool = t;
        d.arguments = std::move(args);
        d.wait = w;
        d.moreArguments = more;
        return d;
    }
    StepDef probes(StepProbe p) const { return with(&StepDef::probe, p); }
    StepDef logs(const char *start, const char *chunk, const char *error, const char *traceTag = nullptr) const
    {
        return with(&StepDef::startLog, start)
            .with(&StepDef::chunkLog, chunk)
            .with(&StepDef::errorLog, error)
            .with(&StepDef::trace, traceTag);
    }
    StepDef logsChunksAs(ChunkLog style) const { return with(&StepDef::chunkStyle, style); }
    StepDef logsPending(const char *text) const { return with(&StepDef::pendingLog, text); }
    StepDef logsResult(const char *text) const { return with(&StepDef::resultLog, text); }
    StepDef logsDone(const char *text) const { return with(&StepDef::doneLog, text); }
    StepDef onEachChunk(Hook hook) const { return with(&StepDef::onChunk, hook); }
    StepDef rules(Judge j, Decide dec) const { return with(&StepDef::judge, j).with(&StepDef::decide, dec); }

private:
    template<typename T>
    StepDef with(T StepDef::*field, T value) const
    {
        StepDef d = *this;
        d.*field = value;
        return d;
    }
};
