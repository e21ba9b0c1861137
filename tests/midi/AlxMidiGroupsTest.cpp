#include "midi/AlxMidiStageFixture.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"

#include "framework/AlxRealParameter.h"
#include "framework/AlxStateChunk.h"

namespace
{
    using AlxMidiGroupsTest = AlxMidiStageFixture;

    struct Texts
    {
        juce::String text, shortText, longText;
        bool operator== (const Texts& o) const { return text == o.text && shortText == o.shortText && longText == o.longText; }
    };

    void PrintTo (const Texts& t, std::ostream* os) { *os << t.text << " / " << t.shortText << " / " << t.longText; }

    std::vector<Texts> textsOf (const AlxDomain& domain)
    {
        std::vector<Texts> texts;

        for (auto& v : domain.getValues())
            texts.push_back ({ v->getText(), v->getShortText(), v->getLongText() });

        return texts;
    }

    juce::XmlElement* findModuleElement (juce::XmlElement& element, int id)
    {
        if (element.hasTagName ("mod") && element.getIntAttribute ("i") == id)
            return &element;

        for (auto* child : element.getChildIterator())
            if (auto* found = findModuleElement (*child, id))
                return found;

        return nullptr;
    }

    void load (AlxFilter& processor, const juce::String& document)
    {
        juce::MemoryBlock chunk (document.toRawUTF8(), document.getNumBytesAsUTF8() + 1);
        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
        AlxMessageLoop::deliverPending();
    }
}

TEST (AlxMidiDomains, inputChoicesKeepTheirFixedValuesAndTexts)
{
    AlxMidiInputDomainSet set;
    auto& device = *set.getDeviceDomain();
    device.setDeviceNames ({ "Keys" });

    EXPECT_EQ (device.getName(), "Midi In");
    EXPECT_TRUE (device.isNamed());
    EXPECT_FALSE (device.isIndexed());
    EXPECT_EQ (textsOf (device), (std::vector<Texts> {
        { "Not connected", "Not connected", "Not connected" },
        { "Track", "Midi track", "Built-in midi input tracks" },
        { "VST/AU host", "VST/AU host", "Connected to host application hosting VST/AU plug-in" },
        { "Keys", "Keys", "Keys" } }));
    EXPECT_EQ (device.getDefaultValue()->getText(), "Track");

    // "Configure..." asks for the MIDI settings with code 0x0A06.
    AlxRecordingSink sink;
    device.addSink (&sink);
    device.postCommand (device.findCommand (10));
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (device.findCommand (10)->getText(), "Configure...");
    EXPECT_EQ (sink.count (&device, 0x0A06), 1);
    device.removeSink (&sink);

    auto& channel = *set.getChannelDomain();
    ASSERT_EQ (channel.getNumValues(), 17);
    EXPECT_TRUE (channel.isIndexed());
    EXPECT_EQ (textsOf (channel)[0], (Texts { "All", "All", "Receiving from all channels" }));
    EXPECT_EQ (textsOf (channel)[16], (Texts { "16", "16", "" }));
    EXPECT_EQ (channel.getDefaultValue()->getText(), "All");

    // Without names a single placeholder; a description missing is the name.
    auto& track = *set.getTrackDomain();
    EXPECT_EQ (textsOf (track), (std::vector<Texts> { { "<none>", "<no tracks>", "<no tracks>" } }));
    track.setTrackNames ({ "a", "b" }, { "first" });
    EXPECT_EQ (textsOf (track), (std::vector<Texts> { { "a", "a", "first" }, { "b", "b", "b" } }));
    EXPECT_EQ (track.getDefaultValue()->getText(), "a");
    EXPECT_TRUE (track.isNamed());
}

TEST (AlxMidiDomains, outputChoicesKeepTheirFixedValuesAndTexts)
{
    AlxMidiOutputDomainSet set;
    auto& device = *set.getDeviceDomain();
    device.setDeviceNames ({ "Synth", "Pads" });

    EXPECT_EQ (device.getName(), "Midi Out");
    EXPECT_TRUE (device.isNamed());
    EXPECT_EQ (textsOf (device), (std::vector<Texts> {
        { "Not connected", "Not connected", "Not connected" },
        { "VST host", "VST host", "Connected to host application hosting VST plug-in" },
        { "Built-in synth", "Built-in synth", "Connected to internal synth" },
        { "Synth", "Synth", "Synth" },
        { "Pads", "Pads", "Pads" } }));
    EXPECT_EQ (device.getDefaultValue()->getText(), "Built-in synth");
    EXPECT_NE (device.findCommand (10), nullptr);

    auto& channel = *set.getChannelDomain();
    ASSERT_EQ (channel.getNumValues(), 16);
    EXPECT_EQ (textsOf (channel)[0], (Texts { "1", "1", "" }));
    EXPECT_EQ (textsOf (channel)[15].text, "16");
    EXPECT_EQ (channel.getDefaultValue()->getText(), "1");
}

TEST (AlxMidiDomains, aRebuiltDeviceListKeepsAChoiceByNameOrFallsBackToTheDefault)
{
    AlxMidiInputDomainSet set;
    auto& device = *set.getDeviceDomain();
    device.setDeviceNames ({ "Keys" });
    AlxRealParameter parameter (nullptr, 0, -1, &device, false, {});
    parameter.setValue (device.findByText ("Keys"), AlxMessageCode::fromEditor, false, false);
    AlxRecordingSink sink;
    parameter.addSink (&sink);

    device.setDeviceNames ({ "Other", "Keys" });
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (parameter.getValue()->getText(), "Keys");
    EXPECT_EQ (parameter.getValueIndex(), 4);

    device.setDeviceNames ({ "Other" });
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (parameter.getValue()->getText(), "Track");
    EXPECT_GE (sink.count (&parameter, AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::fromRebuild)), 1);
    parameter.removeSink (&sink);
}

TEST_F (AlxMidiGroupsTest, theRootBuildsWiresAndInstallsTheMidiStages)
{
    auto& root = host.getRoot();
    std::vector<int> ids;

    for (auto& child : root.getChildren())
        ids.push_back (child->getId());

    const auto at = std::find (ids.begin(), ids.end(), 3000);
    ASSERT_NE (at, ids.end());
    EXPECT_EQ (*(at - 1), 2000);
    EXPECT_EQ (*(at + 1), 3100);
    EXPECT_EQ (inputGroup().getChildren().size(), 1u);
    EXPECT_EQ (input().getId(), 300100);
    EXPECT_EQ (output().getId(), 310100);
    EXPECT_EQ (host.getContainer().findModule (300100), &input());
    EXPECT_EQ (host.getContainer().findModule (310100), &output());

    // The MIDI choices are not the host's to automate.
    for (auto* module : std::initializer_list<AlxModule*> { &input(), &output() })
        for (auto& parameter : module->getGlobalParameters()->getParameters())
            EXPECT_LT (parameter->getHostIndex(), 0);

    // The demo sequences are named and loaded.
    auto& tracks = *inputGroup().getDomainSet()->getTrackDomain();
    EXPECT_EQ (textsOf (tracks), (std::vector<Texts> {
        { "Demo me! (chords)", "Demo me! (chords)", "Built-in midi sequence for demo/testing purposes. Use with lead instrument" },
        { "Demo me! (bass)", "Demo me! (bass)", "Built-in midi sequence for demo/testing purposes. Use with bass instrument" } }));
    EXPECT_EQ (input().getSequencer().getFiles().size(), 2u);

    // Pins in their order, one cable each, also after a second prepare without a release.
    host.prepare (44100.0, 256);
    const auto cablesOf = [] (AlxModule& module)
    {
        std::vector<std::vector<AlxCableBase*>> cables;

        for (auto& pin : module.getPins())
            cables.push_back (pin->getCables());

        return cables;
    };

    using Cables = std::vector<std::vector<AlxCableBase*>>;
    EXPECT_EQ (cablesOf (input()), (Cables { { &root.getHostMidiCable() }, { &root.getHeldKeysCable() }, { &root.getInputMidiCable() } }));
    EXPECT_EQ (cablesOf (output()), (Cables { { &root.getGeneratedMidiCable() }, { &root.getHostMidiCable() }, { &root.getSynthMidiCable() } }));
    EXPECT_TRUE (input().isActive());

    host.getProcessor().releaseResources();
    EXPECT_EQ (cablesOf (input()), (Cables { {}, {}, {} }));
    EXPECT_EQ (cablesOf (output()), (Cables { {}, {}, {} }));
    EXPECT_FALSE (input().isActive());
    EXPECT_FALSE (output().isActive());
    host.prepare (48000.0, 4096);
}

TEST_F (AlxMidiGroupsTest, enabledDevicesTravelInTheFullStateOnly)
{
    enable (inputGroup(), { "Keys" });
    enable (outputGroup(), { "Synth" });
    choose (*input().getDeviceParameter(), "Keys");
    choose (*output().getDeviceParameter(), "Synth");

    juce::MemoryBlock bank, program;
    host.getProcessor().getStateInformation (bank);
    host.getProcessor().getCurrentProgramStateInformation (program);

    auto bankXml = AlxStateChunk::parse (bank.getData(), bank.getSize());
    ASSERT_NE (bankXml, nullptr);
    auto* inputExt = findModuleElement (*bankXml, 3000)->getChildByName ("ext");
    ASSERT_NE (inputExt, nullptr);
    EXPECT_EQ (inputExt->getFirstChildElement()->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<midiInputDeviceManager><midiInput name=\"Keys\"/></midiInputDeviceManager>");
    auto* outputExt = findModuleElement (*bankXml, 3100)->getChildByName ("ext");
    ASSERT_NE (outputExt, nullptr);
    EXPECT_EQ (outputExt->getFirstChildElement()->getChildElement (0)->getStringAttribute ("name"), "Synth");

    auto programXml = AlxStateChunk::parse (program.getData(), program.getSize());
    ASSERT_NE (programXml, nullptr);
    EXPECT_EQ (findModuleElement (*programXml, 3000)->getChildByName ("ext"), nullptr);
    EXPECT_EQ (findModuleElement (*programXml, 3100)->getChildByName ("ext"), nullptr);

    // Another processor opens the devices by name and chooses them again.
    AlxTestHost other;
    other.getProcessor().setStateInformation (bank.getData(), (int) bank.getSize());
    other.deliver();
    auto& otherRoot = other.getRoot();
    EXPECT_TRUE (otherRoot.getMidiInputGroup()->getDeviceManager()->isEnabled ("Keys"));
    EXPECT_TRUE (otherRoot.getMidiOutputGroup()->getDeviceManager()->isEnabled ("Synth"));
    EXPECT_EQ (chosen (*otherRoot.getMidiInputGroup()->getInputModule (0)->getDeviceParameter()), "Keys");
    EXPECT_EQ (chosen (*otherRoot.getMidiOutputGroup()->getOutputModule (0)->getDeviceParameter()), "Synth");

    // A single program leaves the devices alone.
    otherRoot.getMidiInputGroup()->getDeviceManager()->setEnabled ("Other", true);
    other.getProcessor().setCurrentProgramStateInformation (program.getData(), (int) program.getSize());
    other.deliver();
    juce::StringArray names;
    otherRoot.getMidiInputGroup()->getDeviceManager()->getEnabledNames (names);
    EXPECT_EQ (names, juce::StringArray ({ "Keys", "Other" }));
}

TEST_F (AlxMidiGroupsTest, storedTextsThatNameNoValueLeaveTheDefaults)
{
    choose (*input().getChannelParameter(), "5");
    choose (*output().getChannelParameter(), "7");

    // As the factory bank stores them: texts of an earlier version that no value carries.
    load (host.getProcessor(),
          "<fxb><mod i=\"4\" n=\"plimsar\" v=\"1.1.142\"><cm>"
          "<mod i=\"3000\"><cm><mod i=\"300100\"><glob><ps><pv i=\"0\" v=\"Demo (chords)\"/><pv i=\"1\" v=\"0\"/></ps></glob></mod></cm></mod>"
          "<mod i=\"3100\"><cm><mod i=\"310100\"><glob><ps><pv i=\"0\" v=\"Built-in test synth\"/><pv i=\"1\" v=\"0\"/></ps></glob></mod></cm></mod>"
          "</cm></mod></fxb>");

    EXPECT_EQ (chosen (*input().getDeviceParameter()), "Track");
    EXPECT_EQ (chosen (*input().getChannelParameter()), "All");
    EXPECT_EQ (chosen (*output().getDeviceParameter()), "Built-in synth");
    EXPECT_EQ (chosen (*output().getChannelParameter()), "1");

    juce::StringArray names;
    inputGroup().getDeviceManager()->getEnabledNames (names);
    EXPECT_TRUE (names.isEmpty());
    outputGroup().getDeviceManager()->getEnabledNames (names);
    EXPECT_TRUE (names.isEmpty());

    // And the demo plays.
    transport().postPlay();
    host.deliver();
    host.processBlock (blockSize);
    EXPECT_EQ (heldNotes(), (std::vector<int> { 50, 69, 74 }));
}
