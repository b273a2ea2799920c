// Numbers of cameras added by hand. A hand-added camera is named "<prefix> <number>"; the number
// is the smallest positive one that no camera of the list carries as the second blank-separated
// part of its name, shared by all prefixes. The counts are kept incrementally so that adding or
// removing a thousand cameras stays linear.
#pragma once

#include <QString>

#include <unordered_map>

class CCameraNumbers
{
public:
    // The number a name contributes: its second blank-separated part as a decimal integer.
    // 0 when the name has no blank or that part is not a positive integer (such names take no
    // number, so they cannot make the numbering hand out a name twice).
    static int NumberOfName(const QString &name);

    void Clear();
    void Add(const QString &name);
    void Remove(const QString &name);

    // Smallest positive number that no name in the set carries.
    int Next();
    // How many names were added and not removed; lets the owner notice a list it replaced.
    int Size() const { return m_iNames; }

private:
    std::unordered_map<int, int> m_counts; // number -> how many names carry it
    int m_iScanFrom = 1;                   // every number below this one is carried
    int m_iNames = 0;
};
