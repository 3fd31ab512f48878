"""The state of the program's controls as the test drives them, and the
picture of the window that state should give."""

import layout
from expected import ExpectedWindow


class PanelState:
    def __init__(self):
        self.held = set()      # bitmap names of buttons showing their pressed image
        self.scroll_top = layout.SCROLL_THUMB_TOP
        self.scroll_pressed = False
        self.volume_top = layout.VOLUME_THUMB_TOP

    def scroll_thumb(self):
        return layout.thumb_rect(layout.SCROLL_THUMB_X, self.scroll_top, layout.SCROLL_THUMB_SIZE)

    def volume_thumb(self):
        return layout.thumb_rect(layout.VOLUME_THUMB_X, self.volume_top, layout.VOLUME_THUMB_SIZE)

    def picture(self, skin, root_colour):
        """Everything but the animated bar and the read-out, which change
        on their own and are checked apart."""
        picture = ExpectedWindow(skin, root_colour)
        for button in layout.BUTTONS:
            name = button.pressed if button.normal in self.held else button.normal
            picture.paint(skin[name], name, button.rect[:2])
        thumb = "thumb_pressed" if self.scroll_pressed else "thumb"
        picture.paint(skin[thumb], thumb, self.scroll_thumb()[:2])
        picture.paint(skin["volume_thumb"], "volume_thumb", self.volume_thumb()[:2])
        picture.ignore(layout.ANIMATION)
        picture.ignore(layout.READOUT)
        return picture
