"""Keys as a user presses them, sent through the AT-SPI registry (XTest), for
the AT-SPI and screen-reader clients."""
import pyatspi

TAB, SPACE, DOWN, END = 0xFF09, 0x20, 0xFF54, 0xFF57
RIGHT, LEFT, LETTER_A = 0xFF53, 0xFF51, 0x61
UP, HOME, RETURN, ESCAPE, F10 = 0xFF52, 0xFF50, 0xFF0D, 0xFF1B, 0xFFC7
SHIFT, CONTROL = 1 << 0, 1 << 2  # modifier masks


def press(keysym, modifiers=0):
    """A key by its keysym, with the modifiers (a mask) held."""
    if modifiers:
        pyatspi.Registry.generateKeyboardEvent(modifiers, None, pyatspi.KEY_LOCKMODIFIERS)
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
    if modifiers:
        pyatspi.Registry.generateKeyboardEvent(modifiers, None, pyatspi.KEY_UNLOCKMODIFIERS)
