#pragma once

#include "framework/AlxParameter.h"

#include <memory>
#include <vector>

// An ordered group of parameters (and nested groups), addressed by parameter id through a table
// that rebuildIdTable refreshes after parameters were added.
class AlxParameterSet
{
public:
    AlxParameterSet() = default;
    virtual ~AlxParameterSet() = default;

    const std::vector<std::unique_ptr<AlxParameter>>& getParameters() const { return parameters; }
    const std::vector<std::unique_ptr<AlxParameterSet>>& getSubsets() const { return subsets; }
    virtual void addSinkToAll (AlxMessageSink* sink);
    virtual void removeSinkFromAll (AlxMessageSink* sink);
    virtual void resendAll();
    // Element `ps`: the set id (when not 0), one `pv` per parameter, then `cs` with the subsets.
    virtual std::unique_ptr<juce::XmlElement> createXml() const;
    virtual void restoreXml (const juce::XmlElement& element, bool notify);
    virtual juce::String getName() const { return name; }
    virtual void setName (const juce::String& newName) { name = newName; }
    virtual AlxParameter* findByHostIndex (int hostIndex) const;
    virtual AlxParameter* findById (int id) const;
    virtual void setPrefixForAll (const juce::String& prefix);
    virtual void setSuffixForAll (const juce::String& suffix);
    virtual void setId (int newId) { id = newId; }
    virtual int getId() const { return id; }
    virtual AlxParameterSet* findSubsetById (int subsetId) const;
    virtual void rebuildIdTable();

    AlxParameter* add (std::unique_ptr<AlxParameter> parameter);
    AlxParameterSet* addSubset (std::unique_ptr<AlxParameterSet> subset);
    int size() const { return (int) parameters.size(); }
    AlxParameter* getParameter (int position) const;

private:
    std::vector<std::unique_ptr<AlxParameter>> parameters;
    std::vector<std::unique_ptr<AlxParameterSet>> subsets;
    std::vector<AlxParameter*> idTable;
    juce::String name;
    int id = 0;

    JUCE_DECLARE_NON_COPYABLE (AlxParameterSet)
};
