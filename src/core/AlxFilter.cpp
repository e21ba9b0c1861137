#include "core/AlxFilter.h"

#include "core/AlxProgramModule.h"
#include "framework/AlxMessageCode.h"

#include <optional>

AlxFilter::AlxFilter()
    : juce::AudioProcessor (BusesProperties().withOutput ("out", juce::AudioChannelSet::stereo(), true))
{
}

AlxFilter::~AlxFilter()
{
    // A plug-in host may destroy the processor on a thread of its own while the message thread
    // delivers what the modules posted: the message thread then waits between two messages until
    // the tree is gone, and what it finds posted afterwards has no recipient left.
    std::optional<juce::MessageManagerLock> messageThreadHeld;

    if (auto* messages = juce::MessageManager::getInstanceWithoutCreating(); messages != nullptr && ! messages->isThisTheMessageThread())
        messageThreadHeld.emplace();

    if (root != nullptr)
    {
        root->removeSinkRecursive (this, false);
        root->removeSinkRecursive (&focusController, true);
    }

    root.reset();
    container.reset();
}

void AlxFilter::initialise()
{
    container = std::make_unique<AlxModuleContainer>();
    container->setFilter (this);
    root = createRootModule();

    if (root == nullptr)
        return;

    container->setRootModule (root.get());
    root->initialise();

    // The host sees one parameter object per host index, in index order.
    auto& map = container->getParameterMap();

    for (int i = 0; i < map.getNumParameters(); ++i)
    {
        auto* hostParameter = new AlxHostParameter (*this, i);
        addParameter (hostParameter);
        hostParameters.push_back (hostParameter);
        hostGestureOpen.push_back (false);

        if (auto* p = map.lookup (i))
            hostIndexOfSource[p] = i;
    }

    root->loadFactoryBank();

    for (auto* hostParameter : hostParameters)
        hostParameter->takeDefaultValue();

    // Observed last: a plug-in host may build the processor on a thread of its own while the
    // message thread delivers what the modules posted meanwhile, and a message must not find the
    // host parameters half made.
    root->addSinkRecursive (this, false);
    root->addSinkRecursive (&focusController, true);
}

int AlxFilter::getNumHostParameters() const
{
    return container != nullptr ? container->getParameterMap().getNumParameters() : 0;
}

const juce::String AlxFilter::getName() const
{
    return root != nullptr ? root->getPluginName() : juce::String();
}

void AlxFilter::prepareToPlay (double newSampleRate, int samplesPerBlock)
{
    if (root != nullptr)
        root->prepareToPlay (newSampleRate, samplesPerBlock);
}

void AlxFilter::releaseResources()
{
    if (root != nullptr)
        root->releaseResources();
}

void AlxFilter::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages)
{
    processHostBlock (buffer, buffer, false, midiMessages);
}

void AlxFilter::processHostBlock (const juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                                  bool flag, juce::MidiBuffer& midiMessages)
{
    if (root != nullptr)
        root->processHostBlock (input, output, flag, midiMessages);
}

juce::AudioProcessorEditor* AlxFilter::createEditor()
{
    return new juce::GenericAudioProcessorEditor (*this);
}

int AlxFilter::getNumPrograms()
{
    auto* programs = container != nullptr ? container->getProgramModule() : nullptr;
    return programs != nullptr ? programs->getNumPrograms() : 1;
}

int AlxFilter::getCurrentProgram()
{
    auto* programs = container != nullptr ? container->getProgramModule() : nullptr;
    return programs != nullptr ? programs->getCurrentProgram() : 0;
}

void AlxFilter::setCurrentProgram (int index)
{
    if (auto* programs = container != nullptr ? container->getProgramModule() : nullptr)
    {
        programs->selectProgram (index, AlxMessageCode::make (0x24, AlxMessageCode::fromHost));
        announceValuesToHost();
    }
}

const juce::String AlxFilter::getProgramName (int index)
{
    auto* programs = container != nullptr ? container->getProgramModule() : nullptr;
    return programs != nullptr ? programs->getProgramName (index) : juce::String();
}

void AlxFilter::changeProgramName (int index, const juce::String& newName)
{
    if (auto* programs = container != nullptr ? container->getProgramModule() : nullptr)
        programs->renameProgram (index, newName);
}

template <typename Call>
void AlxFilter::whileSuspended (Call&& call)
{
    const bool wasSuspended = isSuspended();

    if (! wasSuspended)
        setSuspended (true);

    call();
    setSuspended (wasSuspended);
}

void AlxFilter::getStateInformation (juce::MemoryBlock& destination)
{
    if (root != nullptr)
        whileSuspended ([&] { root->saveBankChunk (destination); });
}

void AlxFilter::getCurrentProgramStateInformation (juce::MemoryBlock& destination)
{
    if (root != nullptr)
        root->saveProgramChunk (getCurrentProgram(), destination);
}

void AlxFilter::setStateInformation (const void* data, int sizeInBytes)
{
    if (root == nullptr || sizeInBytes <= 0)
        return;

    // The restored program's settings become current before the host's call returns: the
    // program module would switch to them only when its posted message arrives, which in a
    // plug-in happens on the plug-in's own message thread, at any time during or after the load.
    // The callback lock keeps that thread's handlers out until the load is whole.
    whileSuspended ([&]
    {
        const juce::ScopedLock lock (getCallbackLock());
        root->loadBankChunk (data, (size_t) sizeInBytes);
        root->setCurrentProgram (getCurrentProgram());
    });
    announceValuesToHost();
}

void AlxFilter::setCurrentProgramStateInformation (const void* data, int sizeInBytes)
{
    if (root == nullptr || sizeInBytes <= 0)
        return;

    whileSuspended ([&]
    {
        const juce::ScopedLock lock (getCallbackLock());
        root->loadProgramChunk (getCurrentProgram(), data, (size_t) sizeInBytes);
    });
    announceValuesToHost();
}

void AlxFilter::announceValuesToHost()
{
    // A VST3 host hears of values from the plug-in's controller, which the posted announcements
    // keep up to date.
    if (wrapperType != wrapperType_LV2)
        return;

    for (auto* hostParameter : hostParameters)
        hostParameter->sendValueChangedMessageToListeners (hostParameter->getValue());
}

bool AlxFilter::saveBankFile (const juce::File& file)
{
    return root != nullptr && root->saveBankFile (file);
}

bool AlxFilter::loadBankFile (const juce::File& file)
{
    return root != nullptr && root->loadBankFile (file);
}

bool AlxFilter::saveProgramFile (const juce::File& file)
{
    return root != nullptr && root->saveProgramFile (getCurrentProgram(), file);
}

bool AlxFilter::loadProgramFile (const juce::File& file)
{
    return root != nullptr && root->loadProgramFile (getCurrentProgram(), file);
}

void AlxFilter::setSuspended (bool shouldBeSuspended)
{
    if (shouldBeSuspended != suspended)
    {
        suspended = shouldBeSuspended;
        suspendProcessing (shouldBeSuspended);
    }

    if (root != nullptr)
        root->setSuspended (shouldBeSuspended);
}

void AlxFilter::handleMessage (void* source, int code, std::uint32_t)
{
    const int kind = AlxMessageCode::kindOf (code);

    if (kind != AlxMessageCode::valueChanged && kind != AlxMessageCode::gestureChanged)
        return;

    auto it = hostIndexOfSource.find (source);

    if (it == hostIndexOfSource.end())
        return;

    auto* parameter = container->getParameterMap().lookup (it->second);
    auto* hostParameter = hostParameters[(size_t) it->second];

    if (kind == AlxMessageCode::valueChanged)
    {
        // Host automation is not echoed back to the host.
        if (AlxMessageCode::reasonOf (code) != AlxMessageCode::fromHost)
            hostParameter->sendValueChangedMessageToListeners (hostParameter->getValue());
    }
    else
    {
        // The flag is read when the message arrives, so a drag that began and ended before delivery
        // reads "ended" twice; the host only ever sees a begin followed by its end.
        const bool open = hostGestureOpen[(size_t) it->second];
        const bool active = parameter->isGestureActive();

        if (active && ! open)
            hostParameter->beginChangeGesture();
        else if (! active && open)
            hostParameter->endChangeGesture();

        hostGestureOpen[(size_t) it->second] = active;
    }
}
