#include "render/AlxRenderTool.h"

#include "render/AlxEventCsvWriter.h"
#include "render/AlxMidiFileWriter.h"
#include "render/AlxRenderError.h"
#include "render/AlxRenderOptions.h"
#include "render/AlxRenderProgress.h"
#include "render/AlxRenderTarget.h"
#include "render/AlxRenderer.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <atomic>
#include <cmath>
#include <optional>

namespace
{
    std::atomic<bool> interrupted { false };
    static_assert (std::atomic<bool>::is_always_lock_free, "interrupt() is called from signal handlers");

    std::optional<AlxRenderTarget> targetFor (const juce::File& file)
    {
        if (! AlxRenderOptions::isGiven (file))
            return std::nullopt;

        return std::optional<AlxRenderTarget> (std::in_place, file);
    }

    // What the MIDI file starts with: its format and track name.
    struct MidiFileStart
    {
        AlxMidiFileWriter::Format format;
        juce::String trackName;
    };

    // The render's outputs while it runs: each writes into its target's temporary file.
    class Outputs : public AlxRenderListener
    {
    public:
        Outputs (std::optional<AlxRenderTarget>& csvTarget_, std::optional<AlxRenderTarget>& wavTarget_,
                 std::optional<AlxRenderTarget>& midiTarget_, const std::optional<MidiFileStart>& midiStart,
                 double sampleRate, std::ostream& err, bool quiet)
            : csvTarget (csvTarget_), wavTarget (wavTarget_), midiTarget (midiTarget_), progress (err, sampleRate),
              showProgress (! quiet)
        {
            if (csvTarget)
            {
                csvStream = csvTarget->createStream();
                csv.emplace (*csvStream);
            }

            if (midiTarget && midiStart)
            {
                midiStream = midiTarget->createStream();
                midi.emplace (*midiStream, midiStart->format, midiStart->trackName);
            }

            if (wavTarget)
            {
                // 32 bits per sample are written as floating point.
                auto stream = wavTarget->createStream();
                wav.reset (juce::WavAudioFormat().createWriterFor (stream.get(), sampleRate, 2, 32, {}, 0));

                if (wav == nullptr)
                    throw AlxRenderError ("cannot write " + wavTarget->getTarget().getFullPathName());

                stream.release();
            }
        }

        void midiDelivered (juce::int64 samplePosition, const juce::MidiMessage& message) override
        {
            // A full disk ends the render at once, with the reason.
            if (csv && ! csv->add (samplePosition, message))
                csvTarget->check();

            if (midi && ! midi->add (samplePosition, message))
                midiTarget->check();
        }

        void audioRendered (const juce::AudioBuffer<float>& block) override
        {
            if (wav != nullptr && ! wav->writeFromAudioSampleBuffer (block, 0, block.getNumSamples()))
                wavTarget->check();
        }

        void blockDone (juce::int64 samplesDone, juce::int64 samplesTotal) override
        {
            if (interrupted.load())
                throw AlxRenderError ("interrupted; no file was written");

            if (showProgress)
                progress.update (samplesDone, samplesTotal, juce::Time::getMillisecondCounterHiRes() - startMs);
        }

        // Completes the files, the MIDI file's track ending at endSample; the targets are not
        // committed yet.
        void finish (juce::int64 endSample)
        {
            if (midi && ! midi->finish (endSample))
            {
                // The target knows why.
                midiTarget->check();
                throw AlxRenderError ("cannot write " + midiTarget->getTarget().getFullPathName());
            }

            // Closing the stream flushes it; deleting the WAV writer completes its header and
            // closes its file. The targets check what reached the disk.
            midi.reset();
            midiStream.reset();
            csv.reset();
            csvStream.reset();
            wav.reset();
        }

    private:
        std::optional<AlxRenderTarget>& csvTarget;
        std::optional<AlxRenderTarget>& wavTarget;
        std::optional<AlxRenderTarget>& midiTarget;
        std::unique_ptr<juce::OutputStream> midiStream;
        std::optional<AlxMidiFileWriter> midi;
        std::unique_ptr<juce::OutputStream> csvStream;
        std::optional<AlxEventCsvWriter> csv;
        std::unique_ptr<juce::AudioFormatWriter> wav;
        AlxRenderProgress progress;
        const bool showProgress;
        const double startMs = juce::Time::getMillisecondCounterHiRes();
    };

    // The length in samples; refused when below one sample or above the renderer's maximum.
    juce::int64 lengthInSamples (const AlxRenderOptions& options, const AlxRenderer& renderer)
    {
        double samples = 0.0;

        if (options.seconds)
        {
            samples = *options.seconds * options.sampleRate;
        }
        else
        {
            const double barQuarters = renderer.getNumerator() * 4.0 / renderer.getDenominator();
            const int bars = options.bars.value_or (AlxRenderOptions::defaultBars);
            samples = bars * barQuarters * renderer.getSamplesPerQuarter (options.sampleRate);
        }

        const auto maximum = AlxRenderer::getMaximumLength();

        // Compared before rounding: a number of seconds beyond any int64 cannot be rounded to one.
        if (samples > (double) maximum)
            throw AlxRenderError ("the render is too long: at most " + juce::String (maximum / options.sampleRate)
                                  + " seconds at " + juce::String (options.sampleRate) + " Hz");

        const auto length = (juce::int64) std::llround (samples);

        if (length < 1)
            throw AlxRenderError ("the render is shorter than one sample");

        return length;
    }

    std::optional<MidiFileStart> midiFileStartFor (const AlxRenderOptions& options, AlxRenderer& renderer, juce::int64 length)
    {
        if (! AlxRenderOptions::isGiven (options.midiOut))
            return std::nullopt;

        const int numerator = renderer.getNumerator(), denominator = renderer.getDenominator();

        if (! juce::isPowerOfTwo (denominator) || denominator > 16)
            throw AlxRenderError ("--midi-out: a MIDI file cannot hold the time signature " + juce::String (numerator) + "/"
                                  + juce::String (denominator) + "; choose one with --time-signature");

        const AlxMidiFileWriter::Format format { (double) options.sampleRate, renderer.getTempo(), numerator, denominator, options.ppq };

        if (AlxMidiFileWriter::tickOf (format, length) > AlxMidiFileWriter::maxTick)
            throw AlxRenderError ("--midi-out: the render is too long for a MIDI file at " + juce::String (options.ppq)
                                  + " ticks per quarter note");

        return MidiFileStart { format, renderer.getCurrentProgramName() };
    }

    void render (const AlxRenderOptions& options, std::ostream& err)
    {
        // Every output is claimed before any work, so an unwritable one fails at once.
        auto bankTarget = targetFor (options.saveBank);
        auto presetTarget = targetFor (options.savePreset);
        auto midiTarget = targetFor (options.midiOut);
        auto csvTarget = targetFor (options.eventsOut);
        auto wavTarget = targetFor (options.wavOut);

        std::optional<AlxRenderInput> input;

        if (AlxRenderOptions::isGiven (options.inputFile))
            input = AlxRenderInput::fromFile (options.inputFile);

        AlxRenderer renderer;

        if (AlxRenderOptions::isGiven (options.bankFile))
            renderer.loadBank (options.bankFile);

        if (options.program)
            renderer.selectProgram (*options.program);

        if (AlxRenderOptions::isGiven (options.presetFile))
            renderer.loadPreset (options.presetFile);

        auto& processor = renderer.getProcessor();

        if (bankTarget)
            bankTarget->writeWith ([&processor] (const juce::File& file) { return processor.saveBankFile (file); });

        if (presetTarget)
            presetTarget->writeWith ([&processor] (const juce::File& file) { return processor.saveProgramFile (file); });

        if (options.rendersAnything())
        {
            if (options.tempo)
                renderer.setTempo (*options.tempo);

            if (options.numerator && options.denominator)
                renderer.setTimeSignature (*options.numerator, *options.denominator);

            if (input)
                renderer.playInput (std::move (*input));
            else
                renderer.playTrack (options.track.value_or (0));

            const auto length = lengthInSamples (options, renderer);
            const auto midiStart = midiFileStartFor (options, renderer, length);

            Outputs outputs (csvTarget, wavTarget, midiTarget, midiStart, options.sampleRate, err, options.quiet);
            renderer.render (options.sampleRate, options.blockSize, length, outputs);
            outputs.finish (length);
        }

        // Every file is checked whole before any takes its target's place.
        const auto targets = { &bankTarget, &presetTarget, &midiTarget, &csvTarget, &wavTarget };

        for (auto* target : targets)
            if (*target)
                (*target)->check();

        for (auto* target : targets)
            if (*target)
                (*target)->commit();
    }
}

void AlxRenderTool::interrupt()
{
    interrupted.store (true);
}

int AlxRenderTool::run (const juce::StringArray& arguments, std::ostream& out, std::ostream& err)
{
    interrupted.store (false);

    try
    {
        const auto options = AlxRenderOptions::parse (arguments);

        if (options.help)
        {
            out << AlxRenderOptions::usage();
            return success;
        }

        render (options, err);
        return success;
    }
    catch (const AlxRenderError& error)
    {
        err << "plimsar-render: " << error.what() << std::endl;
        return failure;
    }
}
