#pragma once

#include <istream>
#include <string>
#include <utility>
#include <vector>

// A sound recipe: a few voices, each a source (sine partials, a buzz or
// noise) shaped by filters and an envelope, summed into one mono track.
// The recipes live as text below assets/sounds; parseRecipe describes the
// format.
namespace synth {

// A value over time: straight lines between (time, value) points, flat
// before the first point and after the last one.
class cCurve {
public:
    cCurve() = default;
    explicit cCurve(double constant) { add(0, constant); }

    void add(double time, double value) { mPoints.emplace_back(time, value); }
    double at(double time) const;
    bool empty() const { return mPoints.empty(); }

private:
    std::vector<std::pair<double, double>> mPoints;
};

enum class eSource { sine, buzz, noise };
enum class eFilter { lowpass, highpass, bandpass };

// One sine of a sine voice, at `mRatio` times the voice's pitch. A ring time
// above zero lets it die away on its own (e-folding time in seconds).
struct cPartial {
    double mRatio = 1;
    double mGain = 1;
    double mRing = 0;
};

// A resonance of the vocal tract: a band around `mFreq`, `mWidth` Hz wide.
struct cFormant {
    cCurve mFreq;
    cCurve mWidth{100};
    cCurve mGain{1};
};

struct cFilter {
    eFilter mKind = eFilter::lowpass;
    cCurve mCut;
    double mQ = 0.7071;
};

// Every time in a voice counts from its own start.
struct cVoice {
    eSource mSource = eSource::sine;
    double mStart = 0;
    cCurve mPitch{440};
    double mVibratoRate = 0;
    cCurve mVibratoDepth{0}; // cents
    cCurve mAmp{1};
    double mRing = 0;
    double mGain = 1;
    std::vector<cPartial> mPartials; // none means one plain sine
    std::vector<cFormant> mFormants; // parallel, on the source
    std::vector<cFilter> mFilters;   // in series, after the formants
};

struct cRecipe {
    double mLength = 0;  // seconds
    double mPeakDb = -3; // the loudest sample, in dB below full scale
    std::vector<cVoice> mVoices;
};

// Reads a recipe. Throws std::runtime_error naming `origin` and the line of
// the first mistake.
cRecipe parseRecipe(std::istream& in, const std::string& origin);
cRecipe loadRecipe(const std::string& path);

} // namespace synth
