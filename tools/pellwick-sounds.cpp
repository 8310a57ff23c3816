// Writes the game's sound effects, synthesised from tones, sweeps and filtered noise, as 16-bit mono WAV
// files into the directory given on the command line. The noise comes from a fixed-seed generator, so every
// build writes the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// One layer of a sound. A tone glides from fromHz to toHz; noise is kept to the band between them.
struct Voice
{
    enum Kind { Tone, Noise };
    Kind kind;
    double start; // seconds
    double length; // seconds
    double fromHz;
    double toHz;
    double level;
    double overtone = 0.0; // the second harmonic's share of a tone
    double attack = 0.005; // seconds of rise before the fall to silence
};

struct Sound
{
    const char *name;
    double peak; // of full scale; the mix is scaled to it, so nothing clips
    std::vector<Voice> voices;
};

// Rises quickly, then falls along a square curve to exact silence at the end, so no sound ends in a click.
double envelope(double t, const Voice &voice)
{
    if (t < voice.attack)
        return t / voice.attack;
    const double fall = (t - voice.attack) / (voice.length - voice.attack);
    return (1.0 - fall) * (1.0 - fall);
}

class NoiseSource
{
public:
    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return double(m_state >> 11) / double(1ULL << 53) * 2.0 - 1.0;
    }

private:
    std::uint64_t m_state = 0x9e3779b97f4a7c15ULL;
};

// The share of a one-pole low-pass filter's input that passes at each sample for a cutoff frequency.
double onePoleShare(double cutoffHz)
{
    return 1.0 - std::exp(-2.0 * kPi * cutoffHz / kSampleRate);
}

void addTone(const Voice &voice, std::vector<double> &mix)
{
    const int first = int(voice.start * kSampleRate);
    const int count = int(voice.length * kSampleRate);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / kSampleRate;
        const double hz = voice.fromHz * std::pow(voice.toHz / voice.fromHz, t / voice.length);
        phase += 2.0 * kPi * hz / kSampleRate;
        const double wave = std::sin(phase) + voice.overtone * std::sin(2.0 * phase);
        mix[first + i] += voice.level * envelope(t, voice) * wave;
    }
}

void addNoise(const Voice &voice, NoiseSource &noise, std::vector<double> &mix)
{
    const int first = int(voice.start * kSampleRate);
    const int count = int(voice.length * kSampleRate);
    const double lowShare = onePoleShare(voice.fromHz);
    const double highShare = onePoleShare(voice.toHz);
    double belowBand = 0.0;
    double belowTop = 0.0;
    for (int i = 0; i < count; ++i) {
        const double white = noise.next();
        belowBand += lowShare * (white - belowBand);
        belowTop += highShare * (white - belowTop);
        mix[first + i] += voice.level * envelope(double(i) / kSampleRate, voice) * (belowTop - belowBand);
    }
}

std::vector<std::int16_t> render(const Sound &sound)
{
    double end = 0.0;
    for (const Voice &voice : sound.voices)
        end = std::max(end, voice.start + voice.length);
    std::vector<double> mix(std::size_t(end * kSampleRate) + 1, 0.0);
    NoiseSource noise;
    for (const Voice &voice : sound.voices) {
        if (voice.kind == Voice::Tone)
            addTone(voice, mix);
        else
            addNoise(voice, noise, mix);
    }
    double loudest = 0.0;
    for (double sample : mix)
        loudest = std::max(loudest, std::fabs(sample));
    std::vector<std::int16_t> samples;
    samples.reserve(mix.size());
    for (double sample : mix)
        samples.push_back(std::int16_t(std::lround(sample / loudest * sound.peak * 32767.0)));
    return samples;
}

void putLittleEndian(std::ofstream &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(char((value >> (8 * i)) & 0xff));
}

bool writeWave(const std::string &path, const std::vector<std::int16_t> &samples)
{
    std::ofstream out(path, std::ios::binary);
    const std::uint32_t dataBytes = std::uint32_t(samples.size() * 2);
    out << "RIFF";
    putLittleEndian(out, 36 + dataBytes, 4);
    out << "WAVEfmt ";
    putLittleEndian(out, 16, 4); // the format block's size
    putLittleEndian(out, 1, 2); // integer samples
    putLittleEndian(out, 1, 2); // one channel
    putLittleEndian(out, kSampleRate, 4);
    putLittleEndian(out, kSampleRate * 2, 4); // bytes a second
    putLittleEndian(out, 2, 2); // bytes a frame
    putLittleEndian(out, 16, 2); // bits a sample
    out << "data";
    putLittleEndian(out, dataBytes, 4);
    for (std::int16_t sample : samples)
        putLittleEndian(out, std::uint16_t(sample), 2);
    return bool(out);
}

// Each sound says its moment apart from the others: a bright blip for a skill, a rising chime for a member
// home, a falling groan for one lost, a clank for an object, a fanfare or a sinking line at the end, and a
// faint tick when a tap does nothing.
const std::vector<Sound> &sounds()
{
    static const std::vector<Sound> all {
        { "skill",
          0.55,
          { { Voice::Tone, 0.0, 0.06, 700, 760, 1.0, 0.3 },
            { Voice::Tone, 0.05, 0.08, 1050, 1100, 0.9, 0.3 } } },
        { "saved",
          0.6,
          { { Voice::Tone, 0.0, 0.28, 520, 1250, 1.0, 0.25, 0.01 },
            { Voice::Tone, 0.08, 0.2, 1040, 1560, 0.35, 0.0, 0.01 } } },
        { "lost",
          0.6,
          { { Voice::Tone, 0.0, 0.34, 420, 110, 1.0, 0.5, 0.01 },
            { Voice::Noise, 0.0, 0.18, 200, 1400, 1.6, 0.0, 0.002 } } },
        { "trigger",
          0.6,
          { { Voice::Noise, 0.0, 0.16, 900, 5000, 2.5, 0.0, 0.001 },
            { Voice::Tone, 0.0, 0.2, 180, 90, 0.8, 0.0, 0.003 } } },
        { "won",
          0.6,
          { { Voice::Tone, 0.0, 0.12, 523.25, 523.25, 0.8, 0.3 },
            { Voice::Tone, 0.09, 0.12, 659.26, 659.26, 0.8, 0.3 },
            { Voice::Tone, 0.18, 0.12, 783.99, 783.99, 0.8, 0.3 },
            { Voice::Tone, 0.27, 0.2, 1046.5, 1046.5, 1.0, 0.3 } } },
        { "failed",
          0.6,
          { { Voice::Tone, 0.0, 0.14, 440, 430, 0.9, 0.4 },
            { Voice::Tone, 0.12, 0.14, 370, 360, 0.9, 0.4 },
            { Voice::Tone, 0.24, 0.22, 294, 262, 1.0, 0.4 } } },
        { "refused", 0.2, { { Voice::Noise, 0.0, 0.025, 2500, 9000, 1.0, 0.0, 0.0005 } } },
    };
    return all;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    for (const Sound &sound : sounds()) {
        const std::string path = std::string(argv[1]) + "/" + sound.name + ".wav";
        if (!writeWave(path, render(sound))) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
