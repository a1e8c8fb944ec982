#pragma once
// The intake: the one way values from outside the program enter parameter blocks — settings
// files, saved blocks read back from a scene file, scene documents, scripts and the controls of a
// rollout. SetValue takes any value, and code inside the system relies on that; code after the
// blocks assumes values within the declared ranges. So a value from outside passes the rule here
// first: a number outside its parameter's range is held to the nearer end, and a number that is
// not finite (NaN, infinity) is refused, the parameter keeping its previous value. Each held or
// refused value is reported as a warning naming where it came from and the parameter.
//
// Warnings go to the handler an intake is given, else to the host's log (Interface::LogWarning).

#include "host/Color.h"
#include "host/IParamBlock2.h"
#include "host/ParamDef.h"
#include "host/Point3.h"

#include <functional>
#include <string>

enum class IntakeVerdict {
    taken,    // within the range, or a parameter without one: as given
    held,     // outside the range: held to its nearer end
    refused,  // not a finite number: the previous value stays
};

// The rule by itself. n holds the numbers of a value of def's type (x for float, int and bool;
// r, g, b (and a) for colours; x, y, z for points). A float or int parameter holds its value to
// its declared range; an int or bool without one to 32 bits (a bool then reads any number but 0
// as 1), a float without one (and every colour and point component) to what a float can hold. A component
// that is not finite refuses the whole value, leaving n as it was. Answers taken for parameters that hold no
// numbers.
IntakeVerdict holdToRange(const ParamDef& def, ParamNumber& n);

using IntakeWarningHandler = std::function<void(const std::string&)>;

class ParamIntake {
public:
    // source names where the values come from, as a user would find it again: a file's path
    // and key ("/home/ann/.config/vermil/plugcfg/vermil+_line.ini [Vermil+ Line] width"), a
    // document's path and JSON place ("scene.json: /effects/0/elements/0/lineWidth"), a control
    // ("control 120:1024"). Warnings go to warn, or without one to the host's log.
    explicit ParamIntake(std::string source, IntakeWarningHandler warn = {});

    const std::string& source() const { return source_; }

    // For values kept in a record before they reach blocks (the settings files' presets): n
    // after the rule for def, or previous when n is refused.
    IntakeVerdict take(const ParamDef& def, ParamNumber& n, const ParamNumber& previous);

    // Sets numeric parameter id of block at t through SetValue (a key at t when it is animated),
    // the value held first; a refused value leaves the parameter as it was. n is read as the
    // parameter's type asks (int parameters take n[0] rounded to the nearest whole number).
    // FALSE when the block refuses the value (an unknown id, a parameter holding no numbers, a
    // tabIndex outside the table); a value the rule refused answers TRUE: it has been dealt with.
    BOOL set(IParamBlock2& block, ParamID id, TimeValue t, const ParamNumber& n, int tabIndex = 0);
    BOOL set(IParamBlock2& block, ParamID id, TimeValue t, float v, int tabIndex = 0);
    BOOL set(IParamBlock2& block, ParamID id, TimeValue t, int v, int tabIndex = 0);
    BOOL set(IParamBlock2& block, ParamID id, TimeValue t, const Color& v, int tabIndex = 0);
    BOOL set(IParamBlock2& block, ParamID id, TimeValue t, const AColor& v, int tabIndex = 0);
    BOOL set(IParamBlock2& block, ParamID id, TimeValue t, const Point3& v, int tabIndex = 0);
    // The same through SetKey: the key at t of an animatable parameter.
    BOOL setKey(IParamBlock2& block, ParamID id, TimeValue t, const ParamNumber& n);

    // The warning text for a value the rule held or refused; empty for one it took.
    std::string describe(const ParamDef& def, IntakeVerdict verdict, const ParamNumber& given,
                         const ParamNumber& kept) const;

private:
    IntakeVerdict judge(const ParamDef& def, ParamNumber& n, const ParamNumber& previous);

    std::string source_;
    IntakeWarningHandler warn_;
};

// A parameter's value at t as its numbers (zeros when the block has no such numeric parameter).
ParamNumber paramNumberAt(IParamBlock2& block, const ParamDef& def, TimeValue t, int tabIndex = 0);
