// Fixed-seed random numbers and noise for the data generator. Every file it
// writes must come out the same on every run, so nothing here reads the
// clock or the system's generator.
#pragma once

#include <cmath>
#include <cstdint>

// splitmix64: small, fast and the same everywhere.
class DataGenRandom {
public:
    explicit DataGenRandom(uint64_t seed) : m_state(seed) {}

    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double Unit() { return (double)(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    // Uniform in [lo, hi).
    int Int(int lo, int hi) { return lo + (int)(Next() % (uint64_t)(hi - lo)); }

private:
    uint64_t m_state;
};

// Smooth value noise over the plane, about 1 feature per unit, in [0, 1].
// The lattice values come from hashing the corner and the seed, so noise is
// a pure function of its arguments.
class DataGenNoise {
public:
    explicit DataGenNoise(uint64_t seed) : m_seed(seed) {}

    double Value(double x, double y) const
    {
        double fx = std::floor(x), fy = std::floor(y);
        int64_t ix = (int64_t)fx, iy = (int64_t)fy;
        double tx = Fade(x - fx), ty = Fade(y - fy);
        double a = Corner(ix, iy), b = Corner(ix + 1, iy);
        double c = Corner(ix, iy + 1), d = Corner(ix + 1, iy + 1);
        double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
        return top + (bottom - top) * ty;
    }

    // Octaves of Value, each twice as fine and half as strong; in [0, 1].
    double Fractal(double x, double y, int octaves) const
    {
        double sum = 0.0, weight = 1.0, total = 0.0;
        for (int i = 0; i < octaves; i++) {
            sum += Value(x, y) * weight;
            total += weight;
            weight *= 0.5;
            // A rotation between octaves hides the lattice's grain.
            double nx = x * 1.6 - y * 1.2 + 17.3, ny = x * 1.2 + y * 1.6 + 5.1;
            x = nx;
            y = ny;
        }
        return sum / total;
    }

    // A hash of the cell (ix, iy) in [0, 1); used for per-cell choices.
    double Hash(int64_t ix, int64_t iy, uint64_t salt = 0) const
    {
        uint64_t h = m_seed ^ (salt * 0xD6E8FEB86659FD93ull);
        h ^= (uint64_t)ix * 0x9E3779B97F4A7C15ull;
        h = (h ^ (h >> 31)) * 0xBF58476D1CE4E5B9ull;
        h ^= (uint64_t)iy * 0xC2B2AE3D27D4EB4Full;
        h = (h ^ (h >> 29)) * 0x94D049BB133111EBull;
        h ^= h >> 32;
        return (double)(h >> 11) * (1.0 / 9007199254740992.0);
    }

private:
    static double Fade(double t) { return t * t * (3.0 - 2.0 * t); }
    double Corner(int64_t ix, int64_t iy) const { return Hash(ix, iy); }

    uint64_t m_seed;
};
