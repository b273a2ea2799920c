// Start-up time of NORDA against a bare Qt window: from starting the process until its first
// window is mapped, and until that window is first painted, both seen from outside on the same X
// display. The bare program (bench_startup_bare) shows a frameless 1024 x 768 QWidget, links the
// same Qt and is started the same way, so the ratio of the two says what NORDA's own start-up
// (style sheet, skin images, translations, the panel, the single-instance probe) adds to Qt's.
//
// How a paint is seen: the bench gives the root window a colour that no window here uses. Qt
// creates its windows without a background, so the server draws nothing into a freshly mapped
// window and the root's colour stays there until the program flushes its first frame. The first
// look (GetImage) at which neither a line across the window nor a line down it holds that colour
// is the first paint. Looks are taken every 0.2 ms and cost tens of microseconds each.
//
// The bench takes the first window mapped after a start for the program's, so it wants a display
// of its own (Xvfb). Every program is killed after its first paint. NORDA's single-instance
// segment outlives a killed copy; the bench removes it after each run, so every start takes the
// path of a first copy.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRect>
#include <QSharedMemory>
#include <QTextStream>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

const uint32_t kRootColour = 0x12fe34; // rgb(18, 254, 52): in no window of these programs
const qint64 kTimeoutMs = 30000;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> Take(T *reply)
{
    return Reply<T>(reply, &std::free);
}

[[noreturn]] void Fail(const QString &why)
{
    QTextStream(stderr) << "bench_startup: " << why << '\n';
    std::exit(1);
}

class Display
{
public:
    Display()
    {
        int number = 0;
        m_connection = xcb_connect(nullptr, &number);
        if (xcb_connection_has_error(m_connection))
            Fail(QStringLiteral("no X display; run it under xvfb-run -a -s \"-screen 0 1280x1024x24\""));
        const xcb_setup_t *setup = xcb_get_setup(m_connection);
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
        for (; number > 0 && screens.rem; --number)
            xcb_screen_next(&screens);
        m_screen = screens.data;
        bool fourBytes = false;
        xcb_format_iterator_t formats = xcb_setup_pixmap_formats_iterator(setup);
        for (; formats.rem; xcb_format_next(&formats))
            fourBytes |= formats.data->depth == 24 && formats.data->bits_per_pixel == 32;
        if (m_screen->root_depth != 24 || !fourBytes)
            Fail(QStringLiteral("the screen needs a depth of 24 bits (Xvfb -screen 0 1280x1024x24)"));
        m_msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;

        const uint32_t values[] = {kRootColour, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
        xcb_change_window_attributes(m_connection, m_screen->root, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
        xcb_clear_area(m_connection, 0, m_screen->root, 0, 0, 0, 0);
        xcb_flush(m_connection);
    }
    ~Display() { xcb_disconnect(m_connection); }

    void DropEvents()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

    // The first top-level window mapped since the events were last dropped, or none yet.
    xcb_window_t TakeMappedWindow()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            xcb_window_t window = XCB_NONE;
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY)
                window = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
            std::free(event);
            if (window != XCB_NONE)
                return window;
        }
        return XCB_NONE;
    }

    QRect AreaOf(xcb_window_t window)
    {
        auto geometry = Take(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
        auto origin = Take(xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, window, m_screen->root, 0, 0), nullptr));
        if (!geometry || !origin)
            return QRect();
        return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    }

    // Whether a line across the area and a line down it show the root's colour anywhere (mode
    // Any), or everywhere (mode All).
    enum class Mode { Any, All };
    bool ShowsRoot(const QRect &area, Mode mode)
    {
        const QRect visible = area & QRect(0, 0, m_screen->width_in_pixels, m_screen->height_in_pixels);
        if (visible.isEmpty())
            Fail(QStringLiteral("the window lies outside the screen"));
        const QRect lines[] = {QRect(visible.left(), visible.center().y(), visible.width(), 1),
                               QRect(visible.center().x(), visible.top(), 1, visible.height())};
        int withRoot = 0;
        int pixels = 0;
        for (const QRect &line : lines) {
            auto image = Take(xcb_get_image_reply(m_connection,
                                                  xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_screen->root,
                                                                line.x(), line.y(), line.width(), line.height(), ~0u),
                                                  nullptr));
            if (!image)
                Fail(QStringLiteral("GetImage failed"));
            const uint8_t *data = xcb_get_image_data(image.get());
            const int count = xcb_get_image_data_length(image.get()) / 4;
            for (int i = 0; i < count; ++i) {
                const uint8_t *p = data + 4 * i;
                const uint32_t pixel = m_msbFirst ? (p[1] << 16 | p[2] << 8 | p[3]) : (p[2] << 16 | p[1] << 8 | p[0]);
                withRoot += pixel == kRootColour;
            }
            pixels += count;
        }
        return mode == Mode::Any ? withRoot > 0 : withRoot == pixels;
    }

    QString Name() const { return QString::fromLocal8Bit(qgetenv("DISPLAY")); }

private:
    xcb_connection_t *m_connection = nullptr;
    xcb_screen_t *m_screen = nullptr;
    bool m_msbFirst = false;
};

struct Start
{
    double mappedMs = 0;
    double paintedMs = 0;
};

// Removes the segment that a killed NORDA leaves behind (detaching the last user removes it);
// false when a running NORDA still holds it.
bool FreeInstanceSegment()
{
    QSharedMemory segment(QStringLiteral("NORDA"));
    if (segment.attach())
        segment.detach();
    if (!segment.attach())
        return true;
    segment.detach();
    return false;
}

Start TimeStart(Display &display, const QString &program)
{
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(QFileInfo(program).absolutePath());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // the X display, whatever the shell says
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    display.DropEvents();

    Start start;
    xcb_window_t window = XCB_NONE;
    QRect area;
    QElapsedTimer clock;
    clock.start();
    process.start();
    for (qint64 lastCheck = 0;; QThread::usleep(200)) {
        const qint64 ns = clock.nsecsElapsed();
        if (window == XCB_NONE) {
            window = display.TakeMappedWindow();
            if (window != XCB_NONE) {
                start.mappedMs = ns / 1e6;
                area = display.AreaOf(window);
                if (area.size() != QSize(1024, 768))
                    Fail(QStringLiteral("%1 mapped a window of %2 x %3 first, not its 1024 x 768 main window")
                             .arg(program)
                             .arg(area.width())
                             .arg(area.height()));
            }
        } else if (!display.ShowsRoot(area, Display::Mode::Any)) {
            start.paintedMs = ns / 1e6;
            break;
        }
        if (ns / 1000000 - lastCheck >= 100) {
            lastCheck = ns / 1000000;
            if (process.waitForFinished(0) || process.state() == QProcess::NotRunning)
                Fail(QStringLiteral("%1 ended before it painted a window").arg(program));
            if (lastCheck > kTimeoutMs)
                Fail(QStringLiteral("%1 painted no window within %2 s").arg(program).arg(kTimeoutMs / 1000));
        }
    }

    process.kill();
    process.waitForFinished();
    if (!FreeInstanceSegment())
        Fail(QStringLiteral("the single-instance segment stays held"));
    // The next run starts on a clean screen.
    QElapsedTimer cleared;
    cleared.start();
    while (!display.ShowsRoot(area, Display::Mode::All)) {
        if (cleared.elapsed() > 5000)
            Fail(QStringLiteral("the window of %1 stayed on the screen").arg(program));
        QThread::msleep(1);
    }
    return start;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 15;
    int warmups = 2;
    QStringList programs = {QStringLiteral(BARE_PROGRAM)};
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--warmups"))
            warmups = std::max(0, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--norda"))              // another build, beside its data files
            programs << QFileInfo(args[i + 1]).absoluteFilePath(); // it starts in its own folder
        else
            Fail(QStringLiteral("usage: bench_startup [--runs 15] [--warmups 2] [--norda <program>]..."));
    }
    if (programs.size() == 1)
        programs << QStringLiteral(NORDA_PROGRAM);
    if (!FreeInstanceSegment())
        Fail(QStringLiteral("another NORDA runs on this machine; close it, or run the bench in an IPC "
                            "namespace of its own (unshare -i)"));

    Display display;
    const int count = programs.size();
    std::vector<std::vector<Start>> starts(count);
    for (int run = 0; run < warmups + runs; ++run) {
        // Turning the order round every run spreads slow moments of the machine over all programs.
        for (int k = 0; k < count; ++k) {
            const int which = (run + k) % count;
            const Start start = TimeStart(display, programs[which]);
            if (run >= warmups)
                starts[which].push_back(start);
        }
    }

    QTextStream out(stdout);
    out << "Start-up on X display " << display.Name() << ", " << runs << " runs each after " << warmups
        << " warm-up runs, ms from process start\n";
    out << QStringLiteral("  %1 %2 %3 %4 %5 %6\n")
               .arg(QString(), -24)
               .arg("mapped", 8)
               .arg("painted", 8)
               .arg("min", 8)
               .arg("max", 8)
               .arg("/ bare", 7);
    double bare = 0;
    for (int which = 0; which < count; ++which) {
        std::vector<double> mapped, paint;
        for (const Start &start : starts[which]) {
            mapped.push_back(start.mappedMs);
            paint.push_back(start.paintedMs);
        }
        const double painted = Median(paint);
        if (which == 0)
            bare = painted;
        const QString name = which == 0 ? QStringLiteral("bare Qt window") : QFileInfo(programs[which]).fileName();
        out << QStringLiteral("  %1 %2 %3 %4 %5 %6\n")
                   .arg(name, -24)
                   .arg(Median(mapped), 8, 'f', 1)
                   .arg(painted, 8, 'f', 1)
                   .arg(*std::min_element(paint.begin(), paint.end()), 8, 'f', 1)
                   .arg(*std::max_element(paint.begin(), paint.end()), 8, 'f', 1)
                   .arg(painted / bare, 7, 'f', 2);
    }
    out << "  (mapped, painted: medians; \"/ bare\": median first paint against the bare window's)\n";
    return 0;
}
