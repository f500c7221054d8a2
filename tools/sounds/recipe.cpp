// The recipe format, one statement a line, '#' starts a comment:
//
//   length SECONDS               how long the sound is
//   peak DB                      level of the loudest sample, e.g. -3
//   voice sine|buzz|noise        starts a voice; the lines after it shape it
//     at SECONDS                 when the voice starts (default 0)
//     pitch CURVE                Hz (sine and buzz)
//     vibrato RATE [depth CURVE] Hz, and cents either side
//     partial RATIO [gain G] [ring SECONDS]   one sine of a sine voice
//     formant CURVE [width CURVE] [gain CURVE]
//     lowpass|highpass|bandpass CURVE [q Q]
//     amp CURVE                  the envelope
//     ring SECONDS               an exponential die-away on top of amp
//     gain G
//
// A CURVE is one number, or TIME:VALUE points with times that never go back.
#include "recipe.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace synth {

double cCurve::at(double time) const {
    if (mPoints.empty()) return 0;
    if (time <= mPoints.front().first) return mPoints.front().second;
    for (std::size_t i = 1; i < mPoints.size(); ++i) {
        const auto& [t1, v1] = mPoints[i];
        if (time < t1) {
            const auto& [t0, v0] = mPoints[i - 1];
            return v0 + (v1 - v0) * (time - t0) / (t1 - t0);
        }
    }
    return mPoints.back().second;
}

namespace {

// The words of one line and a cursor over them.
class cLine {
public:
    cLine(std::string text, std::string where) : mWhere(std::move(where)) {
        std::istringstream words(text.substr(0, text.find('#')));
        for (std::string w; words >> w;) mWords.push_back(w);
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(mWhere + ": " + what);
    }
    bool blank() const { return mWords.empty(); }
    bool done() const { return mPos == mWords.size(); }
    bool atNumber() const {
        if (done()) return false;
        const char c = mWords[mPos][0];
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
    }

    std::string word() {
        if (done()) fail("a word is missing at the end");
        return mWords[mPos++];
    }
    double number() {
        if (!atNumber()) fail(done() ? "a number is missing at the end" : "'" + mWords[mPos] + "' is not a number");
        return toNumber(mWords[mPos++]);
    }
    cCurve curve() {
        if (!atNumber()) fail(done() ? "a value is missing at the end" : "'" + mWords[mPos] + "' is not a value");
        cCurve c;
        double last = -1;
        while (atNumber()) {
            const std::string w = mWords[mPos++];
            const auto colon = w.find(':');
            if (colon == std::string::npos) {
                if (!c.empty()) fail("'" + w + "' needs a time, as TIME:VALUE");
                c.add(0, toNumber(w));
                if (atNumber()) fail("a single value cannot be followed by points");
                break;
            }
            const double t = toNumber(w.substr(0, colon));
            if (t < 0 || t < last) fail("time " + w.substr(0, colon) + " goes back");
            c.add(t, toNumber(w.substr(colon + 1)));
            last = t;
        }
        return c;
    }
    void finish() const {
        if (!done()) fail("unexpected '" + mWords[mPos] + "'");
    }

private:
    double toNumber(const std::string& w) const {
        char* end = nullptr;
        const double v = std::strtod(w.c_str(), &end);
        if (w.empty() || *end != '\0' || !std::isfinite(v)) fail("'" + w + "' is not a number");
        return v;
    }

    std::string mWhere;
    std::vector<std::string> mWords;
    std::size_t mPos = 0;
};

double positive(cLine& line, const char* what) {
    const double v = line.number();
    if (!(v > 0)) line.fail(std::string(what) + " must be above zero");
    return v;
}

void readVoiceLine(cLine& line, const std::string& key, cVoice& v) {
    const bool pitched = v.mSource != eSource::noise;
    if (key == "at") {
        v.mStart = line.number();
        if (v.mStart < 0) line.fail("a voice cannot start before the sound");
    } else if (key == "pitch") {
        if (!pitched) line.fail("noise has no pitch");
        v.mPitch = line.curve();
    } else if (key == "vibrato") {
        if (!pitched) line.fail("noise has no pitch");
        v.mVibratoRate = positive(line, "the vibrato rate");
        v.mVibratoDepth = cCurve(20);
        while (!line.done()) {
            const std::string opt = line.word();
            if (opt != "depth") line.fail("vibrato takes 'depth', not '" + opt + "'");
            v.mVibratoDepth = line.curve();
        }
    } else if (key == "partial") {
        if (v.mSource != eSource::sine) line.fail("only a sine voice has partials");
        cPartial p;
        p.mRatio = positive(line, "a partial's ratio");
        while (!line.done()) {
            const std::string opt = line.word();
            if (opt == "gain") p.mGain = line.number();
            else if (opt == "ring") p.mRing = positive(line, "the ring time");
            else line.fail("partial takes 'gain' or 'ring', not '" + opt + "'");
        }
        v.mPartials.push_back(p);
    } else if (key == "formant") {
        cFormant f;
        f.mFreq = line.curve();
        while (!line.done()) {
            const std::string opt = line.word();
            if (opt == "width") f.mWidth = line.curve();
            else if (opt == "gain") f.mGain = line.curve();
            else line.fail("formant takes 'width' or 'gain', not '" + opt + "'");
        }
        v.mFormants.push_back(f);
    } else if (key == "lowpass" || key == "highpass" || key == "bandpass") {
        cFilter f;
        f.mKind = key == "lowpass" ? eFilter::lowpass : key == "highpass" ? eFilter::highpass : eFilter::bandpass;
        if (f.mKind == eFilter::bandpass) f.mQ = 1;
        f.mCut = line.curve();
        while (!line.done()) {
            const std::string opt = line.word();
            if (opt != "q") line.fail(key + " takes 'q', not '" + opt + "'");
            f.mQ = positive(line, "q");
        }
        v.mFilters.push_back(f);
    } else if (key == "amp") {
        v.mAmp = line.curve();
    } else if (key == "ring") {
        v.mRing = positive(line, "the ring time");
    } else if (key == "gain") {
        v.mGain = line.number();
    } else {
        line.fail("unknown statement '" + key + "'");
    }
}

} // namespace

cRecipe parseRecipe(std::istream& in, const std::string& origin) {
    cRecipe r;
    bool haveLength = false;
    int number = 0;
    for (std::string text; std::getline(in, text);) {
        cLine line(text, origin + ":" + std::to_string(++number));
        if (line.blank()) continue;
        const std::string key = line.word();
        if (key == "length") {
            r.mLength = positive(line, "the length");
            if (r.mLength > 10) line.fail("a sound effect of more than 10 s is a mistake");
            haveLength = true;
        } else if (key == "peak") {
            r.mPeakDb = line.number();
            if (r.mPeakDb > -1) line.fail("the peak must stay at -1 dB or below");
        } else if (key == "voice") {
            const std::string kind = line.word();
            cVoice v;
            if (kind == "sine") v.mSource = eSource::sine;
            else if (kind == "buzz") v.mSource = eSource::buzz;
            else if (kind == "noise") v.mSource = eSource::noise;
            else line.fail("unknown voice '" + kind + "'");
            r.mVoices.push_back(v);
        } else {
            if (r.mVoices.empty()) line.fail("'" + key + "' before the first voice");
            readVoiceLine(line, key, r.mVoices.back());
        }
        line.finish();
    }
    if (!haveLength) throw std::runtime_error(origin + ": no length");
    if (r.mVoices.empty()) throw std::runtime_error(origin + ": no voice");
    return r;
}

cRecipe loadRecipe(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error(path + ": cannot be read");
    return parseRecipe(in, path);
}

} // namespace synth
