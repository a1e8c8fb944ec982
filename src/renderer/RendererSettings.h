#pragma once
// The renderer's cached parameters: block "parameters" read once at time 0, so the frame never
// reads the block.

class IParamBlock2;

namespace vml {

struct RendererSettings {
    bool bleedMapEnable = true;
    int bleedAmount = 100;  // percent
    bool brushCacheEnable = true;
    int brushCacheSize = 64;    // tile size in pixels
    int brushCacheNumber = 16;  // tiles
    bool penStrokeEnable = false;
    int penStrokeBlend = 0;  // list position into blendMethodTable
    float penStrokeAlpha = 1.0f;
    bool brushScaleEnable = false;
    float brushScale = 1.0f;
    float brushScaleInverse = 1.0f;
    bool multipassEnable = false;
    bool saveMemory = true;
};

// Reads the block at time 0. Numbers are held to their declared ranges: a saved scene is not
// validated on load, and a zero scale or cache size would break the frame. With scaling off, or
// in a material-editor render, brushScale and brushScaleInverse are 1; a material-editor render
// also has pen strokes and multipass off. A null block gives the defaults.
RendererSettings readRendererSettings(IParamBlock2* block, bool inMtlEdit);

}  // namespace vml
