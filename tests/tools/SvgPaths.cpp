// Prints SVG path data for the images: the outlines of a line of text, so lettering goes
// into an image as paths (the framework's SVG reader does not draw <text> reliably), or the
// outline of a stroked path, for pictures made of filled shapes only.
//   SombraxSvgPaths text FONT_FILE TEXT [HEIGHT=100] [TRACKING=0] [X=0] [BASELINE=HEIGHT]
//   SombraxSvgPaths outline WIDTH mitered|curved|beveled PATH_DATA
// TRACKING is extra space between letters as a fraction of the height; ends of strokes are
// cut square. The result's bounds go to the standard error.
#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
juce::String number (float value)
{
    auto text = juce::String (value, 2);

    while (text.contains (".") && (text.endsWithChar ('0') || text.endsWithChar ('.')))
        text = text.dropLastCharacters (1);

    return text == "-0" ? "0" : text;
}

juce::String point (float x, float y) { return number (x) + "," + number (y); }

juce::String toSvgPathData (const juce::Path& path)
{
    juce::StringArray parts;

    for (juce::Path::Iterator it (path); it.next();)
    {
        switch (it.elementType)
        {
            case juce::Path::Iterator::startNewSubPath: parts.add ("M" + point (it.x1, it.y1)); break;
            case juce::Path::Iterator::lineTo:          parts.add ("L" + point (it.x1, it.y1)); break;
            case juce::Path::Iterator::quadraticTo:     parts.add ("Q" + point (it.x1, it.y1) + " " + point (it.x2, it.y2)); break;
            case juce::Path::Iterator::cubicTo:
                parts.add ("C" + point (it.x1, it.y1) + " " + point (it.x2, it.y2) + " " + point (it.x3, it.y3));
                break;
            case juce::Path::Iterator::closePath:       parts.add ("Z"); break;
            default: break;
        }
    }

    return parts.joinIntoString (" ");
}


int usage()
{
    std::cerr << "usage: SombraxSvgPaths text FONT_FILE TEXT [HEIGHT] [TRACKING] [X] [BASELINE]\n"
                 "       SombraxSvgPaths outline WIDTH mitered|curved|beveled PATH_DATA\n";
    return 2;
}

juce::Path textPath (int argc, char** argv)
{
    juce::MemoryBlock data;

    if (! juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]).loadFileAsData (data))
        return {};

    const auto typeface = juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
    const auto height = argc > 4 ? juce::String (argv[4]).getFloatValue() : 100.0f;
    const auto tracking = argc > 5 ? juce::String (argv[5]).getFloatValue() : 0.0f;
    const auto x = argc > 6 ? juce::String (argv[6]).getFloatValue() : 0.0f;
    const auto baseline = argc > 7 ? juce::String (argv[7]).getFloatValue() : height;

    // The font's height is its ascent plus descent; extra kerning is a fraction of it.
    auto font = juce::Font (typeface).withHeight (height);
    font.setExtraKerningFactor (tracking);

    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (font, juce::String::fromUTF8 (argv[3]), x, baseline);

    juce::Path path;
    glyphs.createPath (path);
    return path;
}

juce::Path outlinePath (char** argv)
{
    const juce::String joint (argv[3]);
    const juce::PathStrokeType stroke (juce::String (argv[2]).getFloatValue(),
                                       joint == "curved" ? juce::PathStrokeType::curved
                                                         : joint == "beveled" ? juce::PathStrokeType::beveled
                                                                              : juce::PathStrokeType::mitered,
                                       juce::PathStrokeType::butt);
    juce::Path outline;
    stroke.createStrokedPath (outline, juce::Drawable::parseSVGPath (juce::String::fromUTF8 (argv[4])));
    return outline;
}
} // namespace

int main (int argc, char** argv)
{
    const juce::String mode (argc > 1 ? argv[1] : "");

    if (! ((mode == "text" && argc >= 4) || (mode == "outline" && argc == 5)))
        return usage();

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    const auto path = mode == "text" ? textPath (argc, argv) : outlinePath (argv);

    if (path.isEmpty())
    {
        std::cerr << "nothing to draw\n";
        return 1;
    }

    std::cout << toSvgPathData (path) << std::endl;
    std::cerr << "bounds " << path.getBounds().toString() << std::endl;
    return 0;
}
