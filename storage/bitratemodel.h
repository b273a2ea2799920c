// storage/: planning cameras as they record, beside the calculation page.
//
// How the pieces fit together:
// - bitratemodel: codecs and their factors, and the recommendation for picture sizes the
//   recommended-bitrate table has no row for (a power law fitted on the table itself);
// - recordinggroup: a group of cameras with one recording profile (a 24-hour strip of off,
//   continuous and event hours, the share of event hours recorded, a night span with its own
//   bitrate factor) and the days its recordings are kept;
// - storagemodel: which camera records in which group, and the arithmetic per group and in total
//   (Mbit/s, GB per day, TB and TiB for the retention, with the overhead on top);
// - storagewidget and its helpers: the "Storage" page (widgets, in the norda_storage library).
// The model is QtCore only; the page only moves values between its fields and the model.
#pragma once

#include "calc/camera.h"

#include <QCoreApplication>
#include <QString>

#include <array>

namespace NordaStorage {

// Video codecs a camera may record with. The order is the order of the plan file's texts and of
// the choices on the page; H.264 (0) is what the recommended-bitrate table was made for.
enum Codec { H264 = 0, H265 = 1, MJPEG = 2, SmartH264 = 3, SmartH265 = 4 };
constexpr int kCodecCount = 5;

// "H.264", "H.265", "MJPEG", "Smart H.264", "Smart H.265": not translated, as the resolutions.
QString CodecText(int codec);
// Codec of a text as the plan file or a device names it ("H265", "h.265", "HEVC", "JPEG",
// "Smart H.265"); -1 when none.
int CodecOfText(const QString &text);

// Bitrate of each codec against H.264 at the same picture, in percent. Defaults and where they
// come from:
// - H.265 60 %: measured savings of H.265 over H.264 on surveillance scenes range from 10 % (busy,
//   noisy scenes, short GOPs) to 50 % (static scenes, long GOPs); 40 % is the middle that most
//   encoder comparisons at equal quality report for 1080p and above.
// - MJPEG 500 %: every frame is an intra picture; at equal quality intra-only coding needs four to
//   ten times the bits of H.264 with a GOP of a second or more.
// - Smart H.264 50 %, Smart H.265 30 % (= 60 % x 50 %): the makers' dynamic-GOP and background
//   modes save 40-90 % on quiet scenes and little on busy ones; 50 % is a cautious middle for a
//   scene that is quiet most of the day.
// The user edits them in the page's "Bitrate model" box; they are saved with the plan.
struct STRU_CODEC_FACTORS
{
    std::array<int, kCodecCount> iPercent{{100, 60, 500, 50, 30}};
    bool operator==(const STRU_CODEC_FACTORS &other) const { return iPercent == other.iPercent; }
};
constexpr int kMaxCodecPercent = 1000;

// The recommended-bitrate table extended beyond its rows, for IPC cameras whose true picture size
// has no row of its own.
//
// Per frame-rate column c, bitrate = a_c * pixels^k_c is fitted by least squares on the logarithms
// of the table's own rows (at NordaVocab::NominalSize). Cells at the table's floor of 32 kbit/s
// are left out of a fit: they say only that the floor was reached, not how bitrate grows with
// size. The 1/16 column has one cell above the floor; it takes the exponent of the 1/8 column
// through that cell. Results never go below the floor.
//
// Fit on the table's own rows, largest |fitted / table - 1| per column, worked out when it was written:
//   column  full  22    20    18    15    12.5  10    8     6     4     2     1     1/2   1/4   1/8   1/16
//   k       0.898 0.934 0.929 0.921 0.922 0.922 0.913 0.923 0.937 0.923 0.935 1.049 0.997 0.988 1.004 1.004
//   error   23 %  17 %  27 %  31 %  26 %  27 %  25 %  23 %  34 %  25 %  36 %  18 %  0.3 % 0.5 % 0.3 % 0
// So a table row always keeps its own cell (the fit is up to 36 % off single rows: the table's
// steps between sizes are not smooth); the fit serves sizes between and above the rows, such as
// 2560x1440, 3072x2048, 3840x2160 and 4000x3000, where it grows monotonically with the pixels
// and, at each size, with the frame rate.
class CFittedTable
{
public:
    static const CFittedTable &Instance();

    struct Fit
    {
        double dA = 0;
        double dK = 0;
    };
    const Fit &ColumnFit(int column) const { return m_fits.at(column); }
    // Fitted kbit/s for a picture of 'pixels' in a frame-rate column, at least 32.
    double Kbps(double pixels, int column) const;
    // Largest |fitted / table - 1| over the rows of a column whose cell is above the floor.
    double MaxRowError(int column) const;

private:
    CFittedTable();
    std::array<Fit, 16> m_fits;
};

// Recommended kbit/s of a camera under a video standard: the table of the calculation page for
// its type, resolution, rate and level, or the fitted table where an IPC camera's true size has
// no row; then scaled by its codec's factor. Truncated to whole kbit/s as every caller of the
// table does. With the defaults (no true size, H.264) it is the table's value.
int RecommendedKbps(const STRU_CAMERA &camera, int standard, const STRU_CODEC_FACTORS &factors);

} // namespace NordaStorage
