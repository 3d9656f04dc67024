#include "check_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "capture_file.h"
#include "exit_status.h"
#include "health_analysis.h"
#include "health_report.h"

namespace veltrane::cli {

namespace {

constexpr std::size_t kReadBytes = std::size_t{1} << 20;

int report(const health::HealthFigures& figures, const CheckOptions& options, const std::string& source,
           Output& out)
{
    const health::Verdict verdict = health::judge(figures, options.thresholds);
    out.write(options.json ? health::jsonReport(figures, verdict) : health::textReport(figures, verdict, source));
    out.flush();
    return verdict.pass ? kExitSuccess : kExitFailure;
}

int checkCapture(const CheckOptions& options, Output& out, Output& err)
{
    const CaptureFile capture(options.file);
    if (!capture.readable()) {
        err.line("veltrane-cli check: cannot read " + capture.shownName() + ": " + capture.problem());
        return kExitFailure;
    }
    health::HealthAnalysis analysis;
    const auto block = std::make_unique<char[]>(kReadBytes);
    for (std::size_t got; (got = std::fread(block.get(), 1, kReadBytes, capture.file())) > 0;)
        analysis.add(std::string_view(block.get(), got));
    if (std::ferror(capture.file())) {
        err.line("veltrane-cli check: cannot read " + capture.shownName() + ": " + std::strerror(errno));
        return kExitFailure;
    }
    return report(analysis.finish(), options, "capture " + capture.shownName(), out);
}

}  // namespace

int runCheck(const CheckOptions& options, Output& out, Output& err)
{
    return checkCapture(options, out, err);
}

}  // namespace veltrane::cli
