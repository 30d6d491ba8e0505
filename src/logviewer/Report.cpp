#include "Report.h"

#include <chrono>
#include <thread>

#include "Ansi.h"
#include "LogFile.h"
#include "NativePath.h"
#include "TextFinder.h"

namespace reda {

namespace {

// Opens the log and waits until every line is counted (a large log counts on a thread).
bool readWhole(LogFile& log, const std::filesystem::path& path, std::ostream& err) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        err << "REDA: " << textOfPath(path) << ": no such file\n";
        return false;
    }
    log.setPath(path);
    if (log.poll() == LogFile::Change::Failed || !log.isOpen()) {
        err << "REDA: " << textOfPath(path) << ": "
            << (log.error().empty() ? std::string("cannot be read") : log.error()) << "\n";
        return false;
    }
    while (!log.indexComplete()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        log.poll();
    }
    return true;
}

std::filesystem::path folderOf(const std::filesystem::path& log) {
    std::error_code ec;  // no current folder: the path as given
    const std::filesystem::path absolute = std::filesystem::absolute(log, ec);
    return (ec ? log : absolute).lexically_normal().parent_path();
}

}  // namespace

int writeProblems(const std::filesystem::path& path, const HighlightWords& words, std::ostream& out,
                  std::ostream& err) {
    LogFile log(LogFile::Backing::Mapped);
    if (!readWhole(log, path, err)) {
        return 1;
    }
    ProblemIndex problems(words);
    std::uint64_t released = 0;
    while (!problems.advance(log, 16u << 20)) {
        const std::uint64_t done = log.index().lineStart(problems.classifiedLines());
        log.release(released, done);
        released = done;
    }
    const std::size_t lines = log.lineCount();
    // nextProblem looks after a line, so the first one is asked for itself.
    for (std::optional<std::size_t> at = lines > 0 && problems.kindOf(log, 0) != LineKind::Plain
                                             ? std::optional<std::size_t>(0)
                                             : problems.nextProblem(log, 0);
         at; at = problems.nextProblem(log, *at)) {
        const LineKind kind = problems.kindOf(log, *at);
        out << (*at + 1) << '\t' << (kind == LineKind::Error ? "error" : "warning") << '\t'
            << stripEscapes(log.line(*at)) << '\n';
    }
    return 0;
}

int writeLocations(const std::filesystem::path& path, const std::filesystem::path& sourceRoot,
                   std::ostream& out, std::ostream& err, const FileExists& exists) {
    LogFile log(LogFile::Backing::Mapped);
    if (!readWhole(log, path, err)) {
        return 1;
    }
    LinkContext context;
    context.logFolder = folderOf(path);
    context.sourceRoot = sourceRoot;
    DirectoryTrail trail(context.logFolder);
    for (std::size_t line = 0; line < log.lineCount(); ++line) {
        const std::string_view text = log.line(line);
        if (const std::optional<SourceLocation> location = findLocation(text)) {
            context.current = trail.current();
            context.lastEntered = trail.lastEntered();
            out << (line + 1) << '\t' << textOfPath(resolveLocation(*location, context, exists))
                << '\t' << location->line;
            if (location->column > 0) {
                out << '\t' << location->column;
            }
            out << '\n';
        }
        trail.observe(text);
        if (line % 65536 == 65535) {
            log.release(log.index().lineStart(line - 65535), log.index().lineStart(line));
        }
    }
    return 0;
}

LinkContext linkContextAt(const LogFile& log, std::size_t line,
                          const std::filesystem::path& sourceRoot) {
    LinkContext context;
    context.logFolder = log.path().empty() ? std::filesystem::path() : folderOf(log.path());
    context.sourceRoot = sourceRoot;
    DirectoryTrail trail(context.logFolder);
    const LineIndex& index = log.index();
    if (line < index.lineCount()) {
        const std::string_view bytes =
            log.bytes().substr(0, static_cast<std::size_t>(index.lineStart(line)));
        const TextFinder finder(" directory ", FindOptions{true, false});
        for (std::size_t at = finder.next(bytes, 0); at != TextFinder::npos;) {
            const std::size_t hit = index.lineAt(at);
            trail.observe(log.line(hit));
            at = finder.next(bytes, static_cast<std::size_t>(index.lineLimit(hit)));
        }
    }
    context.current = trail.current();
    context.lastEntered = trail.lastEntered();
    return context;
}

}  // namespace reda
