"""A speech module for Orca that speaks nothing and writes every utterance,
one line each, to the file named by WERTOMAT_SPEECH_LOG. Orca loads it by
name (speechServerFactory in the settings) from PYTHONPATH."""
import os

from orca import speechserver


class SpeechServer(speechserver.SpeechServer):
    _active = None

    @staticmethod
    def getFactoryName():
        return "Wertomat recording"

    @staticmethod
    def getSpeechServers():
        return [SpeechServer.getSpeechServer()]

    @staticmethod
    def getSpeechServer(info=None):
        if SpeechServer._active is None:
            SpeechServer._active = SpeechServer()
        return SpeechServer._active

    @staticmethod
    def shutdownActiveServers():
        SpeechServer._active = None

    def __init__(self):
        super().__init__()
        self._log = open(os.environ["WERTOMAT_SPEECH_LOG"], "a", encoding="utf-8", buffering=1)

    def _say(self, text):
        if text:
            self._log.write(str(text).replace("\n", "\\n").replace("\r", "\\r") + "\n")

    def getInfo(self):
        return ["Wertomat recording", "recording"]

    def getVoiceFamilies(self):
        return [speechserver.VoiceFamily({speechserver.VoiceFamily.NAME: "default",
                                          speechserver.VoiceFamily.LANG: "de"})]

    def speakCharacter(self, character, acss=None):
        self._say(character)

    def speakKeyEvent(self, event, acss=None):
        pass  # the keys pressed are the test's own

    def speak(self, text=None, acss=None, interrupt=True):
        self._say(text)

    def sayAll(self, utteranceIterator, progressCallback):
        for context, _acss in utteranceIterator:
            self._say(context.utterance)
            progressCallback(context, speechserver.SayAllContext.COMPLETED)

    def shutdown(self):
        self._log.close()
