#pragma once

// A printable banded report (filled in by the report layer).
class Report
{
public:
    virtual ~Report() = default;
};
