#pragma once
// The detection switches and thresholds of one line element, as the element's settings hold
// them; defaults are the parameters' defaults.

namespace vml {

struct EdgeRules {
    int lineMatID = 1;                      // only pixels of this material-effects channel are marked
    float outlineObjectThreshold = 0.0f;    // world units, may be negative
    float outlineMaterialThreshold = 0.0f;  // world units, may be negative
    float edgeDepthThreshold = 100.0f;      // world units
    float normalMin = 100.0f;               // percent
    float normalMax = 100.0f;               // percent
    float normalDepth = 100.0f;             // world units
    bool outlineObject = false;
    bool outlineMaterial = false;
    bool edgeMaterial = false;
    bool edgeDepth = false;
    bool normal = false;
};

}  // namespace vml
