#include "app/ProgressBar.h"

#include "host/Interface.h"

#include <algorithm>
#include <unistd.h>

namespace app {

namespace {
constexpr int barWidth = 30;
constexpr auto redrawInterval = std::chrono::milliseconds(100);
}  // namespace

ProgressBar::ProgressBar(bool enabled, std::FILE* stream, ProgressStyle style)
    : enabled_(enabled),
      interactive_(enabled && style == ProgressStyle::bar && stream && ::isatty(::fileno(stream))),
      plain_(enabled && style == ProgressStyle::plain), stream_(stream)
{}

ProgressBar::~ProgressBar() { finish(); }

void ProgressBar::SetTitle(const char* title)
{
    std::string t = title ? title : "";
    if (t == title_)
        return;
    title_ = std::move(t);
    done_ = total_ = 0;
    lastPermille_ = lastHundredth_ = -1;
    if (plain_)
        printPlain();
    else if (enabled_ && !interactive_)
        std::fprintf(stream_, "%s%s\n", prefix_.c_str(), title_.c_str());
    draw(true);
}

int ProgressBar::Progress(int done, int total)
{
    done_ = done, total_ = total;
    if (plain_)
        printPlain();
    draw(false);
    Interface* core = GetCOREInterface();
    return core && core->GetCancel() ? RENDPROG_ABORT : RENDPROG_CONTINUE;
}

void ProgressBar::draw(bool force)
{
    if (!interactive_)
        return;
    int permille = total_ > 0 ? static_cast<int>(std::clamp(1000LL * done_ / total_, 0LL, 1000LL)) : 0;
    auto now = std::chrono::steady_clock::now();
    if (!force && (permille == lastPermille_ || now - lastDraw_ < redrawInterval) && permille != 1000)
        return;
    lastPermille_ = permille, lastDraw_ = now;
    int filled = permille * barWidth / 1000;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(barWidth, '-');
    std::fprintf(stream_, "\r\033[K%s%-24s [%s] %5.1f%%", prefix_.c_str(), title_.c_str(), bar.c_str(),
                 permille / 10.0);
    std::fflush(stream_);
    lineDirty_ = true;
}

void ProgressBar::printPlain()
{
    const int hundredth = total_ > 0 ? static_cast<int>(std::clamp(100LL * done_ / total_, 0LL, 100LL)) : 0;
    if (hundredth == lastHundredth_)
        return;
    lastHundredth_ = hundredth;
    // Whole lines, flushed at once: the reader acts on each as it comes.
    std::fprintf(stream_, "progress %d.%02d %s\n", hundredth / 100, hundredth % 100, title_.c_str());
    std::fflush(stream_);
}

void ProgressBar::finish()
{
    if (interactive_ && lineDirty_) {
        std::fprintf(stream_, "\r\033[K");
        std::fflush(stream_);
    }
    lineDirty_ = false;
}

}  // namespace app
