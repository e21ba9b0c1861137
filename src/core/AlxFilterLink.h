#pragma once

class AlxFilter;

// How editor objects reach the audio processor they belong to.
class AlxFilterLink
{
public:
    explicit AlxFilterLink (AlxFilter* filter_ = nullptr) : filter (filter_) {}
    virtual ~AlxFilterLink() = default;

    virtual AlxFilter* getFilter() const { return filter; }
    virtual void setFilter (AlxFilter* newFilter) { filter = newFilter; }

private:
    AlxFilter* filter;
};
