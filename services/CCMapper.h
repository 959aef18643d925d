#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

namespace oskv
{
/** The MIDI controller map: one child per mapped parameter, whose type is the parameter
    ID and whose "cc" property is the controller number.

    `mapTree` is changed on the message thread (or the host's state thread); the audio
    thread never walks it. Every change, including one made directly on `mapTree`, is
    published as a fixed-size table of controller numbers and parameters, which the audio
    thread copies under a spin lock held only for that copy. The member functions below
    that change or read the map take a lock of their own, so the host's state calls and
    the editor may use them from different threads.
*/
class CCMapper
{
public:
    static const juce::String midiMapTag;
    static const juce::String ccValueProperty;

    /** A map that binds nothing until given the processor whose parameters it drives. */
    CCMapper();
    explicit CCMapper (juce::AudioProcessor& processorWithParameters);
    ~CCMapper();

    /** Replaces the map with the element's content when it is a map; anything else is ignored. */
    void loadMapFromXml (const juce::XmlElement& element);

    /** The map as XML, for the host state chunk; nullptr when the map tree is invalid. */
    std::unique_ptr<juce::XmlElement> createMapXml() const;

    //==============================================================================
    // MIDI learn.

    /** Binds the parameter to `lastCC`, keeping an existing binding's place in the map. */
    void assignToLastController (const juce::String& parameterID);

    /** Removes the parameter's binding, if it has one. */
    void removeBinding (const juce::String& parameterID);

    //==============================================================================
    // Map files, for the settings menu.

    /** Writes the map as an XML file; false when the file could not be written. */
    bool saveMapToFile (const juce::File& file) const;

    /** Takes the map from an XML file; a file that is no map changes nothing. */
    void loadMapFromFile (const juce::File& file);

    /** Removes every binding. */
    void clearMap();

    static juce::String wildcardForFileChooser();

    //==============================================================================
    /** Audio thread: applies the block's control changes to the mapped parameters. */
    void handleControllerChanges (const juce::MidiBuffer& midiMessages);

    juce::ValueTree mapTree;

    /** The last controller number the audio thread accepted, -1 until one arrives. */
    std::atomic<int> lastCC { -1 };

    /** Most bindings the audio thread applies; far more than a map of 21 parameters needs. */
    static constexpr int maxBindings = 256;

private:
    struct Binding
    {
        int controller = -1;
        juce::AudioProcessorParameter* parameter = nullptr;
    };

    struct BindingTable
    {
        int size = 0;
        std::array<Binding, maxBindings> entries {};
    };

    class TreeWatcher : public juce::ValueTree::Listener
    {
    public:
        explicit TreeWatcher (CCMapper& o) : owner (o) {}

        void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier&) override  { owner.publishBindings(); }
        void valueTreeChildAdded (juce::ValueTree&, juce::ValueTree&) override             { owner.publishBindings(); }
        void valueTreeChildRemoved (juce::ValueTree&, juce::ValueTree&, int) override      { owner.publishBindings(); }
        void valueTreeChildOrderChanged (juce::ValueTree&, int, int) override              { owner.publishBindings(); }
        void valueTreeRedirected (juce::ValueTree&) override                               { owner.publishBindings(); }

    private:
        CCMapper& owner;
    };

    juce::AudioProcessorParameter* findParameter (const juce::String& parameterID) const;
    void publishBindings();

    juce::AudioProcessor* processor = nullptr;
    TreeWatcher watcher { *this };
    juce::CriticalSection mapLock;

    juce::SpinLock publishedLock;
    BindingTable published;      // written under publishedLock by whoever changes the map
    BindingTable audioBindings;  // the audio thread's own copy

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CCMapper)
};
} // namespace oskv
