#include "SpectrumAnalyzer.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {
const double kTwoPi = 6.28318530717958;
const int kSlotSemitones[12] = {0, 1, 2, 3, 4, -7, -6, -5, -4, -3, -2, -1};
} // namespace

CSpectrumAnalyzer::CSpectrumAnalyzer(double ref) : m_ref(ref), m_tableLen(0)
{
    for (int i = 0; i < 12; ++i) {
        m_slots[i].cosTable = nullptr;
        m_slots[i].sinTable = nullptr;
        m_noteFreq[i] = 0.0;
    }
    if (ref > 0)
        SetReference(ref);
}

CSpectrumAnalyzer::~CSpectrumAnalyzer() { FreeBuffers(); }

void CSpectrumAnalyzer::SetReference(double ref)
{
    m_ref = ref;
    for (int i = 0; i < 12; ++i)
        m_noteFreq[i] = ref * std::pow(2.0, kSlotSemitones[i] / 12.0);
}

void CSpectrumAnalyzer::FreeBuffers()
{
    for (Slot& s : m_slots) {
        delete[] s.cosTable;
        delete[] s.sinTable;
        s.cosTable = nullptr;
        s.sinTable = nullptr;
    }
    m_tableLen = 0;
}

float CSpectrumAnalyzer::NoteMagnitude(float* phaseOut, float freq, const float* x, int start,
                                       int len, int rate, bool storeTables)
{
    const float* in = x + start;
    Slot* slot = nullptr;
    if (m_ref > 0) {
        long long whole = (long long)freq;
        for (Slot& s : m_slots) {
            if ((long long)m_noteFreq[&s - m_slots] == whole) {
                slot = &s;
                break;
            }
        }
    }
    // Tables of another frame length are never reused.
    if (slot && slot->cosTable && m_tableLen != len)
        slot = nullptr;

    float mag;
    double c, s;
    if (slot && slot->cosTable) {
        float fc = 0.0f, fs = 0.0f;
        const float* ct = slot->cosTable;
        const float* st = slot->sinTable;
        for (int j = 0; j < len; ++j) {
            fc += in[j] * ct[j];
            fs += in[j] * st[j];
        }
        c = fc;
        s = fs;
    } else {
        bool store = slot && storeTables;
        if (store) {
            slot->cosTable = new float[len];
            slot->sinTable = new float[len];
            m_tableLen = len;
        }
        double theta = kTwoPi * freq / rate;
        double sh = std::sin(theta / 2.0);
        double a = -2.0 * sh * sh;
        double b = std::sin(theta);
        double cr = 1.0, sr = 0.0;
        c = 0.0;
        s = 0.0;
        for (int j = 0; j < len; ++j) {
            if (store) {
                slot->cosTable[j] = (float)cr;
                slot->sinTable[j] = (float)sr;
            }
            c += in[j] * cr;
            s += in[j] * sr;
            double nc = cr + (a * cr - b * sr);
            double ns = sr + (b * cr + a * sr);
            cr = nc;
            sr = ns;
        }
    }
    mag = (float)std::sqrt(c * c + s * s);
    if (phaseOut)
        *phaseOut = (float)std::atan(s / c);
    return mag;
}

void CSpectrumAnalyzer::ComplexFft(double* data, unsigned n, int sign)
{
    // Bit reversal.
    for (unsigned i = 1, j = 0; i < n; ++i) {
        unsigned bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) {
            std::swap(data[2 * i], data[2 * j]);
            std::swap(data[2 * i + 1], data[2 * j + 1]);
        }
    }
    // Danielson-Lanczos butterflies. Each stage's twiddles come from the
    // recurrence first, so the butterflies can run through memory in order.
    std::vector<double> tw(n);
    for (unsigned len = 2; len <= n; len <<= 1) {
        double theta = sign * kTwoPi / len;
        double wpr = -2.0 * std::sin(0.5 * theta) * std::sin(0.5 * theta);
        double wpi = std::sin(theta);
        double wr = 1.0, wi = 0.0;
        unsigned half = len >> 1;
        for (unsigned k = 0; k < half; ++k) {
            tw[2 * k] = wr;
            tw[2 * k + 1] = wi;
            double t = wr;
            wr += t * wpr - wi * wpi;
            wi += wi * wpr + t * wpi;
        }
        for (unsigned b = 0; b < n; b += len) {
            for (unsigned k = 0; k < half; ++k) {
                unsigned i = b + k, q = i + half;
                double twr = tw[2 * k], twi = tw[2 * k + 1];
                double tr = twr * data[2 * q] - twi * data[2 * q + 1];
                double ti = twr * data[2 * q + 1] + twi * data[2 * q];
                data[2 * q] = data[2 * i] - tr;
                data[2 * q + 1] = data[2 * i + 1] - ti;
                data[2 * i] += tr;
                data[2 * i + 1] += ti;
            }
        }
    }
}

void CSpectrumAnalyzer::MagnitudeSpectrum(double* data, unsigned n)
{
    if (n < 2)
        return;
    // The n real inputs sit in data[1..n]; pack them as n/2 complex values.
    unsigned h = n / 2;
    std::vector<double> z(data + 1, data + 1 + n);
    ComplexFft(z.data(), h, -1);
    data[0] = z[0] + z[1];
    double nyquist = z[0] - z[1];
    // The split's twiddles, kept per thread for the next spectrum of the
    // same length (the tuning estimate takes dozens).
    thread_local std::vector<double> twiddle;
    if (twiddle.size() != 2 * (size_t)h) {
        twiddle.assign(2 * (size_t)h, 0.0);
        for (unsigned k = 1; k < h; ++k) {
            double ang = -kTwoPi * k / n;
            twiddle[2 * k] = std::cos(ang);
            twiddle[2 * k + 1] = std::sin(ang);
        }
    }
    for (unsigned k = 1; k < h; ++k) {
        // Split the half-length transform into the real sequence's bins.
        double ar = z[2 * k], ai = z[2 * k + 1];
        double br = z[2 * (h - k)], bi = -z[2 * (h - k) + 1]; // conj(Z[h-k])
        double er = 0.5 * (ar + br), ei = 0.5 * (ai + bi);
        double orr = 0.5 * (ai - bi), oi = -0.5 * (ar - br); // (Z - conj)/(2i)
        double wr = twiddle[2 * k], wi = twiddle[2 * k + 1];
        double xr = er + (wr * orr - wi * oi);
        double xi = ei + (wr * oi + wi * orr);
        data[k] = std::sqrt(xr * xr + xi * xi);
    }
    data[h] = nyquist;
}
