// The arithmetic of the system: recommended bitrates and the storage formulas.
//
// Units: bitrates in kbit/s (1 kbit = 1000 bit), disk sizes in GB of 10^9 bytes, and storage
// carries a 15 % margin. The expressions are evaluated in a fixed order in double precision,
// so that results match the published worked examples to the last digit.
#pragma once

#include <QtGlobal>

class CBitrateCalculator
{
public:
    // 0 = PAL (full rate 25), 1 = NTSC (full rate 30).
    void SetStandard(int standard) { m_iStandard = standard; }
    int Standard() const { return m_iStandard; }

    // Recommended bitrate in kbit/s; callers truncate it to an int. Indexes outside the
    // tables (level 0..5, resolution 0..11) recommend 0. The frame rate is first made safe
    // (NordaVocab::SafeFramerate: NaN and negative rates count as 0, rates above 1000 as 1000),
    // so the result is always a number from 0 to well below the int range.
    double RecommendedBitrate(int deviceType, int resolution, double frameRate, int level) const;

    // Hours of recording that a disk of diskGB holds at a total bitrate of totalKbps. 0 when
    // the bitrate is not a finite number above 0 (the disk would never fill, or the rate means
    // nothing) or the disk size is not a finite number of at least 0; never negative or NaN.
    static double RecordHours(double totalKbps, double diskGB);
    // Gigabytes that a stream of kbps needs for the given hours (64-bit: days x hours per day
    // of a long plan do not fit an int). 0 when kbps is not a finite number above 0 or hours
    // is not above 0: such a stream needs no disk. Never negative or NaN.
    static double DiskSize(double kbps, qint64 hours);

    // Column of the IPC table for a frame rate (0 = full rate).
    static int FramerateColumn(double frameRate);

    // Largest disk the calculation accepts: 1024 cameras at 16384 kbit/s for 365 days.
    static constexpr double kMaxDiskGB = 76056153.2928;
    static constexpr int kMaxRecordDays = 365;

private:
    int m_iStandard = 0;
};
