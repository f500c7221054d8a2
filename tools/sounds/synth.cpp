#include "synth.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNyquist = kRate / 2.0;
// Nothing is made above this: it keeps every partial clear of aliasing.
constexpr double kTop = 0.9 * kNyquist;

// A two-pole filter whose coefficients may change every sample (RBJ forms).
class cBiquad {
public:
    double run(eFilter kind, double freq, double q, double x) {
        const double w = 2 * kPi * std::clamp(freq, 10.0, kTop) / kRate;
        const double cw = std::cos(w);
        const double alpha = std::sin(w) / (2 * q);
        double b0, b1, b2;
        switch (kind) {
        case eFilter::lowpass: b0 = b2 = (1 - cw) / 2; b1 = 1 - cw; break;
        case eFilter::highpass: b0 = b2 = (1 + cw) / 2; b1 = -(1 + cw); break;
        default: b0 = alpha; b1 = 0; b2 = -alpha; break; // 0 dB at the centre
        }
        const double a0 = 1 + alpha, a1 = -2 * cw, a2 = 1 - alpha;
        const double y = (b0 * x + b1 * mX1 + b2 * mX2 - a1 * mY1 - a2 * mY2) / a0;
        mX2 = mX1; mX1 = x;
        mY2 = mY1; mY1 = y;
        return y;
    }

private:
    double mX1 = 0, mX2 = 0, mY1 = 0, mY2 = 0;
};

// A small fixed generator, so that the noise, and with it every file, is the
// same on every build.
class cNoise {
public:
    explicit cNoise(std::uint32_t seed) : mState(seed ? seed : 1) {}
    double next() {
        mState ^= mState << 13;
        mState ^= mState >> 17;
        mState ^= mState << 5;
        return mState / 2147483648.0 - 1;
    }

private:
    std::uint32_t mState;
};

// A band-limited sawtooth-like buzz: every harmonic at 1/k, the top ones
// fading out before the limit so that a gliding pitch adds no crackle.
double buzz(double phase, double freq) {
    double sum = 0;
    for (int k = 1; k * freq < kTop; ++k) {
        const double fade = std::min(1.0, (kTop - k * freq) / (0.15 * kNyquist));
        sum += fade * std::sin(2 * kPi * k * phase) / k;
    }
    return sum;
}

void addVoice(const cVoice& v, std::uint32_t seed, std::vector<double>& mix) {
    static const std::vector<cPartial> kOneSine{cPartial{}};
    const std::vector<cPartial>& partials = v.mPartials.empty() ? kOneSine : v.mPartials;
    cNoise noise(seed);
    std::vector<cBiquad> formants(v.mFormants.size()), filters(v.mFilters.size());
    double phase = 0; // in cycles
    const auto first = static_cast<std::size_t>(std::lround(v.mStart * kRate));
    for (std::size_t i = first; i < mix.size(); ++i) {
        const double t = double(i - first) / kRate;
        double freq = v.mPitch.at(t);
        if (v.mVibratoRate > 0)
            freq *= std::exp2(v.mVibratoDepth.at(t) / 1200 * std::sin(2 * kPi * v.mVibratoRate * t));

        double s = 0;
        switch (v.mSource) {
        case eSource::sine:
            for (const cPartial& p : partials) {
                if (p.mRatio * freq >= kTop) continue;
                double a = p.mGain * std::sin(2 * kPi * p.mRatio * phase);
                if (p.mRing > 0) a *= std::exp(-t / p.mRing);
                s += a;
            }
            break;
        case eSource::buzz: s = buzz(phase, freq); break;
        case eSource::noise: s = noise.next(); break;
        }
        phase += freq / kRate;

        if (!formants.empty()) {
            double sum = 0;
            for (std::size_t k = 0; k < formants.size(); ++k) {
                const cFormant& f = v.mFormants[k];
                const double centre = f.mFreq.at(t);
                const double q = centre / std::max(1.0, f.mWidth.at(t));
                sum += f.mGain.at(t) * formants[k].run(eFilter::bandpass, centre, q, s);
            }
            s = sum;
        }
        for (std::size_t k = 0; k < filters.size(); ++k)
            s = filters[k].run(v.mFilters[k].mKind, v.mFilters[k].mCut.at(t), v.mFilters[k].mQ, s);

        double level = v.mGain * v.mAmp.at(t);
        if (v.mRing > 0) level *= std::exp(-t / v.mRing);
        mix[i] += level * s;
    }
}

} // namespace

std::vector<std::int16_t> render(const cRecipe& recipe) {
    std::vector<double> mix(static_cast<std::size_t>(std::lround(recipe.mLength * kRate)), 0.0);
    for (std::size_t k = 0; k < recipe.mVoices.size(); ++k)
        addVoice(recipe.mVoices[k], 0x9E3779B9u * std::uint32_t(k + 1), mix);

    // A gentle high-pass (about 16 Hz) takes out any DC that an envelope
    // leaves on a low sine.
    double x1 = 0, y1 = 0;
    for (double& s : mix) {
        const double y = s - x1 + 0.9955 * y1;
        x1 = s;
        y1 = y;
        s = y;
    }

    // Half a cosine over the first and last 3 ms: the file starts and ends
    // at silence whatever the recipe does, so it never clicks.
    const std::size_t edge = std::min<std::size_t>(kRate * 3 / 1000, mix.size() / 2);
    for (std::size_t i = 0; i < edge; ++i) {
        const double g = 0.5 - 0.5 * std::cos(kPi * double(i) / edge);
        mix[i] *= g;
        mix[mix.size() - 1 - i] *= g;
    }

    double peak = 0;
    for (double s : mix) peak = std::max(peak, std::abs(s));
    const double scale = peak > 0 ? 32767 * std::pow(10, recipe.mPeakDb / 20) / peak : 0;
    std::vector<std::int16_t> out(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::lround(std::clamp(mix[i] * scale, -32767.0, 32767.0)));
    return out;
}

} // namespace synth
