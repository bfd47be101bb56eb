// The progress bar and the progress lines.
#include "ProgressReporter.h"

namespace
{

const int kBarWidth = 24;
const double kBarSeconds = 0.2;  // the bar is redrawn at most this often

// "1:02:03" or "2:03".
void formatDuration(double a_seconds, char* a_text, size_t a_size)
{
    const long total = a_seconds < 0.0 ? 0 : static_cast<long>(a_seconds + 0.5);
    if (total >= 3600)
        snprintf(a_text, a_size, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else
        snprintf(a_text, a_size, "%ld:%02ld", total / 60, total % 60);
}

}  // namespace

ProgressReporter::ProgressReporter(FILE* a_stream, bool a_terminal, uint32_t a_first,
                                   uint32_t a_last, double a_lineSeconds)
    : m_stream(a_stream), m_terminal(a_terminal), m_first(a_first), m_last(a_last),
      m_lineSeconds(a_lineSeconds)
{
}

void ProgressReporter::frameDone(uint32_t a_frame, float a_beat, const char* a_part)
{
    ++m_done;
    const Clock::time_point now = Clock::now();
    const double since = std::chrono::duration<double>(now - m_lastReport).count();
    if (m_reported && since < (m_terminal ? kBarSeconds : m_lineSeconds) && a_frame + 1 != m_last)
        return;
    m_lastReport = now;
    m_reported = true;
    report(a_frame, a_beat, a_part);
}

void ProgressReporter::report(uint32_t a_frame, float a_beat, const char* a_part)
{
    const uint32_t total = m_last - m_first;
    const double elapsed = std::chrono::duration<double>(Clock::now() - m_start).count();
    const double rate = elapsed > 0.0 ? m_done / elapsed : 0.0;
    char left[32] = "?";
    if (rate > 0.0)
        formatDuration((total - m_done) / rate, left, sizeof(left));
    const double fraction = total ? double(m_done) / total : 1.0;
    if (m_terminal)
    {
        char bar[kBarWidth + 1];
        const int filled = static_cast<int>(fraction * kBarWidth);
        for (int i = 0; i < kBarWidth; ++i)
            bar[i] = i < filled ? '#' : '-';
        bar[kBarWidth] = '\0';
        fprintf(m_stream, "\r[%s] %3d%% frame %u/%u beat %6.2f %-9s %5.2f fps %s left \x1b[K", bar,
                static_cast<int>(fraction * 100.0), a_frame, m_last - 1, double(a_beat),
                a_part ? a_part : "", rate, left);
    }
    else
    {
        fprintf(
            m_stream,
            "tarvo-capture: frame %u/%u (%d%%), beat %.2f, %s, %.2f frames per second, %s left\n",
            a_frame, m_last - 1, static_cast<int>(fraction * 100.0), double(a_beat),
            a_part ? a_part : "", rate, left);
    }
    fflush(m_stream);
}

void ProgressReporter::finish()
{
    const double elapsed = std::chrono::duration<double>(Clock::now() - m_start).count();
    char taken[32];
    formatDuration(elapsed, taken, sizeof(taken));
    if (m_terminal && m_reported)
        fputc('\n', m_stream);
    fprintf(m_stream, "tarvo-capture: %u frames in %s (%.2f frames per second)\n", m_done, taken,
            elapsed > 0.0 ? m_done / elapsed : 0.0);
    fflush(m_stream);
}
