#pragma once
// The string table's ids by name, each number defined once. The tables (EnglishStrings.h,
// JapaneseStrings.h), the parameter blocks, the dialog templates and every getString caller use
// these names. Texts of the dialog pages have a namespace per page, where short names repeat.

namespace vml::strings {

// Library description and class names
inline constexpr int libraryDescription = 1;
inline constexpr int materialClass = 10;
inline constexpr int rendererClass = 11;
inline constexpr int brushClass = 12;
inline constexpr int lineEffectClass = 13;
inline constexpr int lineElementClass = 14;
inline constexpr int lineRenderElementClass = 15;
inline constexpr int crayonStrokeRenderElementClass = 16;

// Colour blend methods, by method id (paint/Blend.h: a method's id is its name's)
inline constexpr int blendNormal = 50;
inline constexpr int blendAdd = 51;
inline constexpr int blendSubtract = 52;
inline constexpr int blendMultiply = 53;
inline constexpr int blendScreen = 54;
inline constexpr int blendOverlay = 55;
inline constexpr int blendSoftLight = 56;
inline constexpr int blendHardLight = 57;
inline constexpr int blendDarken = 58;
inline constexpr int blendLighten = 59;
inline constexpr int blendDifference = 60;
inline constexpr int blendExclusion = 61;
inline constexpr int blendHue = 62;
inline constexpr int blendSaturation = 63;
inline constexpr int blendColour = 64;
inline constexpr int blendLuminosity = 65;

// Material: block names and rollout titles, map slots, base-block labels
inline constexpr int basicParameters = 100;
inline constexpr int materialVersion = 101;
inline constexpr int brushRollout = 102;
inline constexpr int strokeRollout = 103;
inline constexpr int paintRollout = 104;
inline constexpr int highlightLevel = 105;
inline constexpr int highlightGlossiness = 106;
inline constexpr int highlightMapOpacity = 107;
inline constexpr int enableHighlightMap = 108;
inline constexpr int highlightMap = 109;
inline constexpr int baseMaterial = 110;
inline constexpr int shading = 111;
inline constexpr int highlightColor = 112;
inline constexpr int highlightBlend = 113;
inline constexpr int highlightSharpness = 114;
inline constexpr int enableBump = 115;
inline constexpr int bumpAmount = 116;
inline constexpr int bumpMap = 117;
inline constexpr int enableReflection = 118;
inline constexpr int highlightAnisotropy = 119;
inline constexpr int highlightOrientation = 120;
inline constexpr int highlightLevelMap = 121;
inline constexpr int highlightGlossinessMap = 122;
inline constexpr int reseedInterval = 123;
inline constexpr int reseedOnlyWhileMoving = 124;
inline constexpr int reflectionAmount = 127;
inline constexpr int reflectionMap = 128;
inline constexpr int enableBaseColor = 129;
inline constexpr int baseColor = 130;
inline constexpr int baseMapOpacity = 131;
inline constexpr int baseMaterialMap = 132;
inline constexpr int baseColorBlend = 133;
inline constexpr int baseOpacity = 134;
inline constexpr int enableBaseMap = 135;
inline constexpr int hiddenFaceRemoval = 136;
inline constexpr int reseedStrokesAutomatically = 137;
inline constexpr int brushDepthOffset = 141;
inline constexpr int brushDepthOffsetRandom = 142;
inline constexpr int enableBrushDepthOffset = 143;
inline constexpr int keepStrokesOnSurface = 144;
inline constexpr int baseSlot = 145;

// Material: brush-block labels
inline constexpr int brushSize = 200;
inline constexpr int brushSizeRandom = 201;
inline constexpr int brushAngle = 202;
inline constexpr int brushAngleRandom = 203;
inline constexpr int brushDensity = 204;
inline constexpr int brushRoughness = 205;
inline constexpr int brushDetail = 206;
inline constexpr int brushDetailRandom = 207;
inline constexpr int brushSizeByGeometry = 208;
inline constexpr int brushOpacity = 209;
inline constexpr int brushSizeFade = 210;
inline constexpr int brushSizeFadeThreshold = 211;
inline constexpr int brushSizeFadeRandom = 212;
inline constexpr int brushOpacityFade = 213;
inline constexpr int brushOpacityFadeThreshold = 214;
inline constexpr int brushOpacityFadeRandom = 215;
inline constexpr int brushRoughnessByGeometry = 216;
inline constexpr int brushEditorSlot = 217;
inline constexpr int brushAngleFit = 218;
inline constexpr int brushAngleFitOffset = 219;
inline constexpr int brushSizeFadeLinearity = 220;
inline constexpr int brushOpacityFadeLinearity = 221;
inline constexpr int enableBrushDepthScale = 222;
inline constexpr int brushDepthScaleStart = 223;
inline constexpr int brushDepthScaleEnd = 224;
inline constexpr int brushScreenOffsetX = 225;
inline constexpr int brushScreenOffsetXRandom = 226;
inline constexpr int brushScreenOffsetY = 227;
inline constexpr int brushScreenOffsetYRandom = 228;
inline constexpr int brushNormalOffset = 229;
inline constexpr int brushNormalOffsetRandom = 230;

// Material: stroke-block labels
inline constexpr int strokeAngleFit = 304;
inline constexpr int strokeAngleFitOffset = 305;
inline constexpr int strokeLengthByGeometry = 306;
inline constexpr int strokeOffset = 307;
inline constexpr int strokeOffsetRandom = 308;
inline constexpr int strokeDeformAmplitude = 309;
inline constexpr int strokeLength = 310;
inline constexpr int strokeLengthRandom = 311;
inline constexpr int strokeDeformAmplitudeRandom = 312;
inline constexpr int strokeDeformFrequency = 313;
inline constexpr int strokeDeformFrequencyRandom = 314;
inline constexpr int strokeDeformPhase = 315;
inline constexpr int strokeDeformPhaseRandom = 316;
inline constexpr int strokeAngle = 317;
inline constexpr int strokeAngleRandom = 318;
inline constexpr int strokeRoughness = 319;
inline constexpr int strokeRoughnessRandom = 320;
inline constexpr int strokeRake = 321;
inline constexpr int strokeSizeTaperStart = 322;
inline constexpr int strokeSizeTaperStartPosition = 323;
inline constexpr int strokeSizeTaperRandom = 324;
inline constexpr int strokeOpacityTaperStart = 325;
inline constexpr int strokeOpacityTaperStartPosition = 326;
inline constexpr int strokeOpacityTaperRandom = 327;
inline constexpr int strokeSizeTaperEnd = 328;
inline constexpr int strokeSizeTaperEndPosition = 329;
inline constexpr int strokeOpacityTaperEnd = 330;
inline constexpr int strokeOpacityTaperEndPosition = 331;
inline constexpr int strokeSpacing = 332;
inline constexpr int strokeSpacingRandom = 333;

// Paint-block labels (material and line element)
inline constexpr int enablePaintBlend = 400;
inline constexpr int paintBlendMethod = 401;
inline constexpr int paintBlendAmount = 402;
inline constexpr int paintColorJitterR = 403;
inline constexpr int paintColorJitterG = 404;
inline constexpr int paintColorJitterB = 405;
inline constexpr int paintColorType = 406;
inline constexpr int paintBleed = 407;
inline constexpr int paintBleedRandom = 408;
inline constexpr int paintBleedEdge = 409;
inline constexpr int paintBleedEdgeRandom = 410;
inline constexpr int paintMix = 411;
inline constexpr int paintMixRandom = 412;
inline constexpr int paintFlow = 413;
inline constexpr int paintFlowRandom = 414;
inline constexpr int paintFlowAngle = 415;
inline constexpr int enablePaintMonochrome = 416;
inline constexpr int paintMonochromeAmount = 417;
inline constexpr int enableRandomSize = 418;
inline constexpr int randomSize = 419;
inline constexpr int paintDryness = 420;
inline constexpr int paintDrynessRandom = 421;
inline constexpr int enableWhiteTransparency = 422;
inline constexpr int whiteTransparencyAmount = 423;
inline constexpr int enablePaintContrast = 424;
inline constexpr int paintContrastAmount = 425;

// Brush texture map: block name and rollout title, labels
inline constexpr int brushEditorTitle = 500;
inline constexpr int disableBrushCache = 529;
inline constexpr int brushRandomPatterns = 530;

// Line effect: rollout titles and element types (by type: lineTypeBasicSet + type)
inline constexpr int lineParameters = 600;
inline constexpr int lineElements = 601;
inline constexpr int outputToRenderElementOnly = 602;
inline constexpr int lineVersion = 603;
inline constexpr int lineTypeBasicSet = 610;
inline constexpr int lineTypeOutline = 611;
inline constexpr int lineTypeEdgeBoundary = 612;
inline constexpr int lineTypeNormalAngle = 613;

// Line element: parameter labels
inline constexpr int lineColor = 620;
inline constexpr int lineMapOpacity = 621;
inline constexpr int enableLineMap = 622;
inline constexpr int lineMap = 623;
inline constexpr int lineBlend = 624;
inline constexpr int lineOpacity = 625;
inline constexpr int lineStretch = 627;
inline constexpr int lineAngle = 628;
inline constexpr int lineDepthScaleNear = 642;
inline constexpr int lineDepthScaleFar = 643;
inline constexpr int enableLineDepthScale = 644;
inline constexpr int lineDepthFadeNear = 645;
inline constexpr int lineDepthFadeFar = 646;
inline constexpr int lineDepthFadeFarOpacity = 647;
inline constexpr int enableLineDepthFade = 648;
inline constexpr int lineElementNumber = 700;
inline constexpr int lineMaterialId = 701;
inline constexpr int lineWidth = 708;
inline constexpr int lineDeformation = 709;
inline constexpr int objectOutline = 712;
inline constexpr int materialOutline = 713;
inline constexpr int materialEdge = 714;
inline constexpr int depthEdge = 715;
inline constexpr int normalAngleEdge = 716;
inline constexpr int depthEdgeThreshold = 717;
inline constexpr int normalAngleMin = 718;
inline constexpr int normalAngleMax = 719;
inline constexpr int normalAngleDepth = 720;
inline constexpr int lineMotionBlur = 724;
inline constexpr int lineMotionBlurOffset = 725;
inline constexpr int lineName = 726;
inline constexpr int lineOn = 727;
inline constexpr int objectOutlineThreshold = 728;
inline constexpr int materialOutlineThreshold = 729;
inline constexpr int lineDepthFadeNearOpacity = 733;

// Line files: parameter labels, file-dialog filters, buttons, captions and messages
inline constexpr int loadLineFile = 780;
inline constexpr int elementFileFilter = 781;
inline constexpr int elementOpen = 782;
inline constexpr int elementOpenCaption = 783;
inline constexpr int saveLineFile = 784;
inline constexpr int elementSave = 786;
inline constexpr int elementSaveCaption = 787;
inline constexpr int linesFileFilter = 789;
inline constexpr int linesOpen = 790;
inline constexpr int linesOpenCaption = 791;
inline constexpr int linesSave = 794;
inline constexpr int linesSaveCaption = 795;
inline constexpr int lineFileReadFailed = 796;
inline constexpr int lineFileWriteFailed = 797;

// Render elements
inline constexpr int lineRenderElementName = 800;
inline constexpr int renderElementParameters = 801;
inline constexpr int renderElementFilterOn = 802;
inline constexpr int renderElementEnabled = 803;
inline constexpr int renderElementName = 804;
inline constexpr int renderElementBitmap = 805;
inline constexpr int crayonStrokeRenderElementName = 810;

// Brush texture map: track-view parameter names (brushMapOpacity + parameter id) and brush types
inline constexpr int brushMapOpacity = 918;
inline constexpr int brushType = 921;
inline constexpr int brushFalloffEnd = 936;
inline constexpr int singleTip = 937;
inline constexpr int multipleBristles = 938;

// Renderer: rollout titles and sub-animatable names
inline constexpr int rendererVersion = 1001;
inline constexpr int rendererSettings = 1002;
inline constexpr int rendererParameters = 1003;

// Renderer: parameter labels, multipass node picking
inline constexpr int enableBleedStrengthMap = 1010;
inline constexpr int bleedStrengthAmount = 1011;
inline constexpr int bleedStrengthMap = 1012;
inline constexpr int enableBrushCache = 1013;
inline constexpr int brushCacheSize = 1014;
inline constexpr int brushCacheCount = 1015;
inline constexpr int enablePenStrokes = 1016;
inline constexpr int penStrokeBlend = 1017;
inline constexpr int penStrokeOpacity = 1018;
inline constexpr int enableBrushScaling = 1019;
inline constexpr int brushScaleAmount = 1020;
inline constexpr int multipassObjects = 1021;
inline constexpr int enableMultipass = 1022;
inline constexpr int multipassId = 1023;
inline constexpr int addObjects = 1024;
inline constexpr int addObjectsButton = 1025;
inline constexpr int removeObjects = 1026;
inline constexpr int removeObjectsButton = 1027;
inline constexpr int saveMemory = 1028;
inline constexpr int multipassCutObjects = 1029;
inline constexpr int cutObjects = 1030;
inline constexpr int cutObjectsButton = 1031;

// Renderer: progress summary values
inline constexpr int yes = 1080;
inline constexpr int no = 1081;

// Renderer: progress titles
inline constexpr int progressPaintingStrokes = 1100;
inline constexpr int progressBleedingPaint = 1101;
inline constexpr int progressCompositingPenStrokes = 1102;
inline constexpr int progressRendering = 1103;

// Renderer: messages
inline constexpr int notEnoughMemoryWarning = 1200;
inline constexpr int notEnoughMemoryStop = 1201;
inline constexpr int fieldRenderingUnsupported = 1202;

// Material: brush slot message
inline constexpr int brushSlotTakesBrushMap = 9950;

// The renderer's settings page (template 108)
namespace rendererPage {

inline constexpr int options = 2000;
inline constexpr int brushScaling = 2001;
inline constexpr int bleedStrengthMap = 2002;
inline constexpr int amount = 2003;
inline constexpr int brushCache = 2004;
inline constexpr int size = 2005;
inline constexpr int count = 2006;
inline constexpr int saveMemory = 2007;
inline constexpr int multipassRendering = 2008;
inline constexpr int enable = 2009;
inline constexpr int selected = 2010;
inline constexpr int add = 2011;
inline constexpr int remove = 2012;
inline constexpr int cut = 2013;
inline constexpr int paste = 2014;
inline constexpr int crayonExtension = 2015;
inline constexpr int drawStrokesAfterwards = 2016;
inline constexpr int blendMethod = 2017;
inline constexpr int blendAmount = 2018;

}  // namespace rendererPage

// The render-progress summary (template 112)
namespace summaryPage {

inline constexpr int strokes = 2019;
inline constexpr int brushScaling = 2020;
inline constexpr int bleedStrengthMap = 2021;
inline constexpr int brushCache = 2022;
inline constexpr int saveMemory = 2023;
inline constexpr int drawStrokesAfterwards = 2024;

}  // namespace summaryPage

// The material's base, brush, stroke and paint pages (templates 109, 103, 110, 111), which share many texts
namespace materialPages {

inline constexpr int baseMaterial = 3000;
inline constexpr int shading = 3001;
inline constexpr int highlight = 3002;
inline constexpr int color = 3003;
inline constexpr int blend = 3004;
inline constexpr int level = 3005;
inline constexpr int glossiness = 3006;
inline constexpr int sharpness = 3007;
inline constexpr int anisotropy = 3008;
inline constexpr int orientation = 3009;
inline constexpr int map = 3010;
inline constexpr int opacity = 3011;
inline constexpr int bump = 3012;
inline constexpr int amount = 3013;
inline constexpr int reflection = 3014;
inline constexpr int baseColor = 3015;
inline constexpr int useColor = 3016;
inline constexpr int alpha = 3017;
inline constexpr int removeHiddenFaces = 3018;
inline constexpr int renewRandomness = 3019;
inline constexpr int interval = 3020;
inline constexpr int onlyWhenMoving = 3021;
inline constexpr int brushOffset = 3022;
inline constexpr int random = 3023;
inline constexpr int keepOffTheSides = 3024;
inline constexpr int enable = 3025;
inline constexpr int brushMap = 3100;
inline constexpr int size = 3101;
inline constexpr int byGeometry = 3102;
inline constexpr int angle = 3103;
inline constexpr int followSurface = 3104;
inline constexpr int offset = 3105;
inline constexpr int density = 3106;
inline constexpr int roughness = 3107;
inline constexpr int detail = 3108;
inline constexpr int fadeSize = 3109;
inline constexpr int threshold = 3110;
inline constexpr int linearity = 3111;
inline constexpr int fadeAlpha = 3112;
inline constexpr int scaleByDepth = 3113;
inline constexpr int start = 3114;
inline constexpr int end = 3115;
inline constexpr int screenOffsetX = 3116;
inline constexpr int screenOffsetY = 3117;
inline constexpr int normalOffset = 3118;
inline constexpr int setAsDefault = 3119;
inline constexpr int length = 3200;
inline constexpr int deformation = 3201;
inline constexpr int amplitude = 3202;
inline constexpr int frequency = 3203;
inline constexpr int phase = 3204;
inline constexpr int strokeMode = 3205;
inline constexpr int normal = 3206;
inline constexpr int rake = 3207;
inline constexpr int sizeDamping = 3208;
inline constexpr int alphaDamping = 3209;
inline constexpr int position = 3210;
inline constexpr int spacing = 3211;
inline constexpr int monochrome = 3300;
inline constexpr int colorVariation = 3301;
inline constexpr int rgb = 3302;
inline constexpr int hsv = 3303;
inline constexpr int blur = 3304;
inline constexpr int edgeBlur = 3305;
inline constexpr int mix = 3306;
inline constexpr int wind = 3307;
inline constexpr int dryness = 3308;
inline constexpr int whiteShowsThrough = 3309;
inline constexpr int contrast = 3310;

}  // namespace materialPages

// The brush map's editor (template 113)
namespace brushEditorPage {

inline constexpr int mapOpacity = 3500;
inline constexpr int map = 3501;
inline constexpr int brushType = 3502;
inline constexpr int stretch = 3503;
inline constexpr int randomPercent = 3504;
inline constexpr int angle = 3505;
inline constexpr int random = 3506;
inline constexpr int grooves = 3507;
inline constexpr int count = 3508;
inline constexpr int size = 3509;
inline constexpr int softness = 3510;
inline constexpr int horizontalSpacing = 3511;
inline constexpr int verticalSpacing = 3512;
inline constexpr int falloff = 3513;
inline constexpr int start = 3514;
inline constexpr int end = 3515;
inline constexpr int cache = 3516;
inline constexpr int disableCache = 3517;
inline constexpr int randomVariants = 3518;

}  // namespace brushEditorPage

// The line effect's pages (templates 114 to 123)
namespace linePages {

inline constexpr int lineTypes = 4000;
inline constexpr int elements = 4001;
inline constexpr int add = 4002;
inline constexpr int remove = 4003;
inline constexpr int up = 4004;
inline constexpr int down = 4005;
inline constexpr int copy = 4006;
inline constexpr int lineSetFile = 4007;
inline constexpr int name = 4010;
inline constexpr int on = 4011;
inline constexpr int materialId = 4012;
inline constexpr int detection = 4013;
inline constexpr int objectOutline = 4014;
inline constexpr int offset = 4015;
inline constexpr int materialOutline = 4016;
inline constexpr int materialIdBoundary = 4017;
inline constexpr int depthBoundary = 4018;
inline constexpr int threshold = 4019;
inline constexpr int normalAngle = 4020;
inline constexpr int minAngle = 4021;
inline constexpr int maxAngle = 4022;
inline constexpr int normalDepth = 4023;
inline constexpr int line = 4024;
inline constexpr int width = 4025;
inline constexpr int deform = 4026;
inline constexpr int stretch = 4027;
inline constexpr int angle = 4028;
inline constexpr int blend = 4029;
inline constexpr int opacity = 4030;
inline constexpr int color = 4031;
inline constexpr int map = 4032;
inline constexpr int mapOpacity = 4033;
inline constexpr int depth = 4034;
inline constexpr int scaleWidthByDepth = 4035;
inline constexpr int near = 4036;
inline constexpr int far = 4037;
inline constexpr int fadeByDepth = 4038;
inline constexpr int farOpacity = 4039;
inline constexpr int motionBlur = 4040;
inline constexpr int blurOffset = 4041;
inline constexpr int elementFile = 4042;
inline constexpr int setAsDefault = 4043;
inline constexpr int colorRange = 4050;
inline constexpr int rgb = 4051;
inline constexpr int hsv = 4052;
inline constexpr int blur = 4053;
inline constexpr int random = 4054;
inline constexpr int edgeBlur = 4055;
inline constexpr int mix = 4056;
inline constexpr int wind = 4057;
inline constexpr int windAngle = 4058;
inline constexpr int dry = 4059;
inline constexpr int setRandomPixelSize = 4060;
inline constexpr int size = 4061;
inline constexpr int replace = 4070;
inline constexpr int merge = 4071;
inline constexpr int ok = 4072;
inline constexpr int cancel = 4073;
inline constexpr int loadMethod = 4074;
inline constexpr int versionTitle = 4080;

}  // namespace linePages

}  // namespace vml::strings
