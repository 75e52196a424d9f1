#include "options/optionsform.h"

namespace opt {

void Combo::clear()
{
    items.clear();
    listIndex = -1;
    text.clear();
}

void Combo::select(int index)
{
    if (index < -1 || index >= count())
        return;
    listIndex = index;
    text = index < 0 ? QString() : items[index];
}

Label &valueLabel(OptionsForm &f, Adjuster a)
{
    switch (a) {
    case Adjuster::Brightness: return f.lblBrightness;
    case Adjuster::Contrast: return f.lblContrast;
    case Adjuster::Hue: return f.lblHue;
    case Adjuster::Saturation: return f.lblSaturation;
    case Adjuster::Volume: break;
    }
    return f.lblVolume;
}

const Label &valueLabel(const OptionsForm &f, Adjuster a)
{
    return valueLabel(const_cast<OptionsForm &>(f), a);
}

std::array<Button, 3> &adjusterButtons(OptionsForm &f, Adjuster a)
{
    switch (a) {
    case Adjuster::Brightness: return f.imgBrightness;
    case Adjuster::Contrast: return f.imgContrast;
    case Adjuster::Hue: return f.imgHue;
    case Adjuster::Saturation: return f.imgSaturation;
    case Adjuster::Volume: break;
    }
    return f.imgVolume;
}

const std::array<Button, 3> &adjusterButtons(const OptionsForm &f, Adjuster a)
{
    return adjusterButtons(const_cast<OptionsForm &>(f), a);
}

int captionMode(Adjuster a)
{
    switch (a) {
    case Adjuster::Brightness: return 1;
    case Adjuster::Contrast: return 2;
    case Adjuster::Hue: return 3;
    case Adjuster::Saturation: return 4;
    case Adjuster::Volume: break;
    }
    return 5;
}

} // namespace opt
