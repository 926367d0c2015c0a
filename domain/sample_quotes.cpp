#include "domain/sample_quotes.h"

namespace velmo {

const std::array<TextView, 30> SampleQuotes = {
    U"Well done is better than well said. - Benjamin Franklin",
    U"Lost time is never found again. - Benjamin Franklin",
    U"An investment in knowledge pays the best interest. - Benjamin Franklin",
    U"Always do right. This will gratify some people and astonish the rest. - Mark Twain",
    U"Get your facts first, and then you can distort them as much as you please. - Mark Twain",
    U"Courage is resistance to fear, mastery of fear, not absence of fear. - Mark Twain",
    U"Brevity is the soul of wit. - William Shakespeare",
    U"We know what we are, but know not what we may be. - William Shakespeare",
    U"The only way to have a friend is to be one. - Ralph Waldo Emerson",
    U"Nothing great was ever achieved without enthusiasm. - Ralph Waldo Emerson",
    U"If one advances confidently in the direction of his dreams, he will meet with a success "
    U"unexpected in common hours. - Henry David Thoreau",
    U"Our life is frittered away by detail. Simplify, simplify. - Henry David Thoreau",
    U"Slow and steady wins the race. - Aesop",
    U"No act of kindness, no matter how small, is ever wasted. - Aesop",
    U"To see what is right and not to do it is want of courage. - Confucius",
    U"Real knowledge is to know the extent of one's ignorance. - Confucius",
    U"The world will little note, nor long remember what we say here. - Abraham Lincoln",
    U"Fortune favours the bold. - Latin proverb",
    U"While we teach, we learn. - Seneca",
    U"The happiness of your life depends upon the quality of your thoughts. - Marcus Aurelius",
    U"Knowledge is power. - Francis Bacon",
    U"A journey of a thousand miles begins with a single step. - Lao Tzu",
    U"Energy and persistence conquer all things. - Benjamin Franklin",
    U"Be not afraid of growing slowly; be afraid only of standing still. - Chinese proverb",
    U"Hope is the thing with feathers\r\nThat perches in the soul. - Emily Dickinson",
    U"A merry heart doeth good like a medicine. - Proverbs 17:22",
    U"Man is born free, and everywhere he is in chains. - Jean-Jacques Rousseau",
    U"I think, therefore I am. - René Descartes",
    U"The only thing we have to fear is fear itself. - Franklin D. Roosevelt",
    U"Early to bed and early to rise makes a man healthy, wealthy and wise. - Benjamin Franklin",
};

}  // namespace velmo
