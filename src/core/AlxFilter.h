#pragma once

#include "core/AlxFocusController.h"
#include "core/AlxHostParameter.h"
#include "framework/AlxMessageSink.h"
#include "framework/AlxMessageSource.h"
#include "framework/AlxModule.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <unordered_map>

// The audio processor a host (or the standalone application) talks to. It builds the module
// tree, hands each audio block to the root module, maps host parameters and programs onto the
// tree, and turns parameter messages into the host's change and gesture notifications.
//
// Construct, then call initialise once before any other call.
class AlxFilter : public juce::AudioProcessor, public AlxMessageSource, public AlxMessageSink
{
public:
    AlxFilter();
    ~AlxFilter() override;

    // juce::AudioProcessor
    const juce::String getName() const override;
    void prepareToPlay (double newSampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    using juce::AudioProcessor::processBlock;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;
    void getStateInformation (juce::MemoryBlock& destination) override;
    void getCurrentProgramStateInformation (juce::MemoryBlock& destination) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    void setCurrentProgramStateInformation (const void* data, int sizeInBytes) override;

    // Own operations.
    virtual void initialise();
    virtual std::unique_ptr<AlxModule> createRootModule() { return nullptr; }
    virtual void processHostBlock (const juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                                   bool flag, juce::MidiBuffer& midiMessages);
    // Preset files, for the editor's preset menu (message thread; processing is not suspended).
    // The program files are those of the current program.
    virtual bool saveBankFile (const juce::File& file);
    virtual bool loadBankFile (const juce::File& file);
    virtual bool saveProgramFile (const juce::File& file);
    virtual bool loadProgramFile (const juce::File& file);
    virtual AlxParameter* getFocusedParameter() const { return focusController.getFocusedParameter(); }
    virtual bool isSuspended() const { return suspended; }
    virtual void setSuspended (bool shouldBeSuspended);
    virtual AlxModuleContainer* getContainer() const { return container.get(); }

    // The number of host-visible parameters.
    int getNumHostParameters() const;
    AlxModule* getRootModule() const { return root.get(); }

    void handleMessage (void* source, int code, std::uint32_t timeMs) override;

private:
    // Runs a state call with processing suspended, leaving the suspension as it was.
    template <typename Call>
    void whileSuspended (Call&& call);
    // Tells an LV2 host every parameter's value at once, on the thread of the host's call. The
    // posted announcements come from the plug-in's own message thread, which runs beside the
    // host's, and an LV2 host hears of values only in the blocks that follow: one that plays a
    // single block after choosing a program or loading a state would keep the values from before.
    void announceValuesToHost();

    AlxFocusController focusController;
    bool suspended = false;
    std::unique_ptr<AlxModuleContainer> container;
    std::unique_ptr<AlxModule> root;
    std::vector<AlxHostParameter*> hostParameters;
    std::vector<bool> hostGestureOpen;
    std::unordered_map<void*, int> hostIndexOfSource;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlxFilter)
};
